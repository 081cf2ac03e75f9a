// Keeps an area's archive non-empty while it has no sources of its own.
