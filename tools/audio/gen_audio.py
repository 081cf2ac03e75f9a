"""Synthesised music loops and sound effects (numpy: FM and additive voices with envelopes,
a convolution reverb from shaped noise). Effects are 16-bit mono WAV at 44100 Hz; music
loops and stings are Ogg Vorbis made with oggenc. Fixed seeds: the same files every run."""

import os
import subprocess
import sys
import tempfile
import wave

import numpy as np

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "art"))
from common import manifest, out_path  # noqa: E402

RATE = 44100
G_MUSIC = "Music (streams, section \"music\")"
G_STING = "Stings (sounds, section \"sounds\")"
G_SOUND = "Sound effects"


# ---------------------------------------------------------------- building blocks

def t_axis(dur):
    return np.arange(int(dur * RATE)) / RATE


def midi(n):
    return 440.0 * 2 ** ((n - 69) / 12.0)


def env_adsr(n, a=0.005, d=0.1, s=0.6, r=0.2, hold=None):
    """Attack-decay-sustain-release over n samples; the release takes the last r seconds."""
    total = n / RATE
    if hold is None:
        hold = max(0.0, total - a - d - r)
    pts_t = [0, a, a + d, a + d + hold, a + d + hold + r]
    pts_v = [0, 1, s, s, 0]
    t = np.arange(n) / RATE
    return np.interp(t, pts_t, pts_v)


def env_perc(n, a=0.003, decay=0.3):
    t = np.arange(n) / RATE
    e = np.exp(-t / max(decay, 1e-4))
    att = np.clip(t / max(a, 1e-5), 0, 1)
    return e * att


def fm(freq, dur, ratio=1.0, index=1.0, index_decay=0.3, amp_env=None, detune=0.0):
    t = t_axis(dur)
    idx = index * np.exp(-t / max(index_decay, 1e-4))
    mod = idx * np.sin(2 * np.pi * freq * ratio * t)
    sig = np.sin(2 * np.pi * freq * (1 + detune) * t + mod)
    if amp_env is not None:
        sig *= amp_env
    return sig


def additive(freq, dur, partials, decays, amp_env=None):
    t = t_axis(dur)
    sig = np.zeros_like(t)
    for (mult, amp), dec in zip(partials, decays):
        if freq * mult < RATE / 2.2:
            sig += amp * np.sin(2 * np.pi * freq * mult * t) * np.exp(-t / dec)
    if amp_env is not None:
        sig *= amp_env
    return sig


def fft_lowpass(sig, cutoff, slope=2):
    spec = np.fft.rfft(sig)
    f = np.fft.rfftfreq(len(sig), 1.0 / RATE)
    spec *= 1.0 / (1.0 + (f / cutoff) ** (2 * slope))
    return np.fft.irfft(spec, len(sig))


def fft_highpass(sig, cutoff, slope=2):
    spec = np.fft.rfft(sig)
    f = np.fft.rfftfreq(len(sig), 1.0 / RATE)
    spec *= 1.0 - 1.0 / (1.0 + (f / max(cutoff, 1)) ** (2 * slope))
    return np.fft.irfft(spec, len(sig))


def noise(dur, seed):
    return np.random.RandomState(seed).uniform(-1, 1, int(dur * RATE))


def reverb_ir(length, decay, seed, bright=6000.0):
    n = int(length * RATE)
    t = np.arange(n) / RATE
    rs = np.random.RandomState(seed)
    ir = rs.normal(0, 1, n) * np.exp(-t / decay)
    ir = fft_lowpass(ir, bright, 1)
    ir[0] = 0
    return ir / np.sqrt(np.sum(ir ** 2))


def convolve(sig, ir):
    n = len(sig) + len(ir) - 1
    size = 1 << (n - 1).bit_length()
    return np.fft.irfft(np.fft.rfft(sig, size) * np.fft.rfft(ir, size), size)[:n]


def add_reverb(sig, wet=0.18, length=1.2, decay=0.35, seed=1):
    ir = reverb_ir(length, decay, seed)
    tail = convolve(sig, ir)
    out = np.zeros(len(tail))
    out[:len(sig)] += sig
    return out + wet * tail


def place(buf, sig, at):
    i = int(at * RATE)
    end = min(len(buf), i + len(sig))
    if end > i:
        buf[i:end] += sig[:end - i]


def normalise(sig, peak=0.85):
    m = np.max(np.abs(sig))
    return sig if m < 1e-9 else sig * (peak / m)


def fade_edges(sig, fin=0.002, fout=0.01):
    n_in, n_out = int(fin * RATE), int(fout * RATE)
    if n_in:
        sig[:n_in] *= np.linspace(0, 1, n_in)
    if n_out:
        sig[-n_out:] *= np.linspace(1, 0, n_out)
    return sig


def trim_tail(sig, floor=0.0015):
    """Drops the inaudible end of a reverb tail, keeping a short fade."""
    loud = np.nonzero(np.abs(sig) > floor * np.max(np.abs(sig)) * 10)[0]
    if len(loud) == 0:
        return sig
    end = min(len(sig), loud[-1] + int(0.05 * RATE))
    return sig[:end]


def write_wav(sig, rel, purpose, channels=1):
    """Kept for effects that need sample-exact starts; the game's effects are Ogg."""
    path = out_path(rel)
    data = np.clip(sig, -1, 1)
    pcm = (data * 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())
    dur = len(sig) / RATE / channels
    manifest.add(path, purpose, "%.2f s" % dur, "WAV 16-bit mono 44100 Hz", G_SOUND)


def write_ogg(stereo, rel, purpose, group, quality=1, extra=""):
    """stereo: array of shape (n, 2), or (n,) for mono, in -1..1."""
    path = out_path(rel)
    channels = 1 if stereo.ndim == 1 else 2
    pcm = (np.clip(stereo, -1, 1) * 32767).astype("<i2")
    with tempfile.TemporaryDirectory() as tmp:
        wav_path = os.path.join(tmp, "in.wav")
        with wave.open(wav_path, "wb") as w:
            w.setnchannels(channels)
            w.setsampwidth(2)
            w.setframerate(RATE)
            w.writeframes(pcm.tobytes())
        # a fixed serial number keeps the output byte-identical between runs
        subprocess.run(["oggenc", "-Q", "-q", str(quality), "-s", "1234", "-o", path, wav_path], check=True)
    dur = len(stereo) / RATE
    size_kb = os.path.getsize(path) / 1024.0
    manifest.add(path, purpose, "%.1f s, %d KB" % (dur, size_kb),
                 "Ogg Vorbis %s 44100 Hz" % ("mono" if channels == 1 else "stereo") + extra, group)


# ---------------------------------------------------------------- instruments

def mallet(freq, dur=0.6, bright=1.0):
    n = int(dur * RATE)
    return additive(freq, dur, [(1, 1.0), (3.99, 0.35 * bright), (9.2, 0.12 * bright), (2.0, 0.2)],
                    [dur * 0.45, dur * 0.12, dur * 0.05, dur * 0.25], env_perc(n, 0.002, dur * 0.6))


def bell(freq, dur=1.2, index=2.0):
    n = int(dur * RATE)
    return fm(freq, dur, ratio=3.5, index=index, index_decay=dur * 0.3, amp_env=env_perc(n, 0.002, dur * 0.35))


def music_box(freq, dur=0.9):
    n = int(dur * RATE)
    return (fm(freq, dur, ratio=5.0, index=1.2, index_decay=0.08, amp_env=env_perc(n, 0.001, dur * 0.3))
            + 0.3 * fm(freq * 2, dur, ratio=1.0, index=0.3, index_decay=0.1, amp_env=env_perc(n, 0.001, dur * 0.15)))


def epiano(freq, dur=0.8):
    n = int(dur * RATE)
    return (fm(freq, dur, ratio=1.0, index=1.6, index_decay=0.25, amp_env=env_adsr(n, 0.004, 0.3, 0.45, 0.12))
            + 0.25 * fm(freq, dur, ratio=14.0, index=0.6, index_decay=0.02, amp_env=env_perc(n, 0.001, 0.05)))


def pluck_bass(freq, dur=0.5):
    n = int(dur * RATE)
    t = t_axis(dur)
    sig = np.sin(2 * np.pi * freq * t) + 0.35 * np.sin(2 * np.pi * freq * 2 * t) * np.exp(-t / 0.08) \
        + 0.15 * np.sin(2 * np.pi * freq * 3 * t) * np.exp(-t / 0.05)
    return sig * env_adsr(n, 0.006, 0.15, 0.55, 0.08)


def pad(freqs, dur):
    n = int(dur * RATE)
    t = t_axis(dur)
    sig = np.zeros(n)
    for f in freqs:
        for det in (-0.004, 0.0, 0.005):
            sig += np.sin(2 * np.pi * f * (1 + det) * t + 0.4 * np.sin(2 * np.pi * 0.3 * t))
            sig += 0.2 * np.sin(2 * np.pi * 2 * f * (1 + det) * t)
    return sig * env_adsr(n, min(0.5, dur * 0.3), 0.2, 0.8, min(0.6, dur * 0.3)) / (len(freqs) * 3)


def accordion(freq, dur=0.5):
    n = int(dur * RATE)
    t = t_axis(dur)
    sig = np.zeros(n)
    for det in (-0.003, 0.003):
        ph = 2 * np.pi * freq * (1 + det) * t
        sig += np.sin(ph) + 0.5 * np.sin(2 * ph) + 0.33 * np.sin(3 * ph) + 0.2 * np.sin(4 * ph) + 0.12 * np.sin(5 * ph)
    return sig * env_adsr(n, 0.03, 0.1, 0.8, 0.06) / 3.5


def kick(dur=0.3):
    t = t_axis(dur)
    f = 48 + 90 * np.exp(-t / 0.04)
    ph = 2 * np.pi * np.cumsum(f) / RATE
    return np.sin(ph) * np.exp(-t / 0.12)


def shaker(dur=0.09, seed=3):
    n = int(dur * RATE)
    return fft_highpass(noise(dur, seed), 6000) * env_perc(n, 0.004, dur * 0.3)


def snap(dur=0.18, seed=4):
    n = int(dur * RATE)
    nz = fft_lowpass(fft_highpass(noise(dur, seed), 1200), 6000)
    return nz * env_perc(n, 0.001, 0.045) + 0.3 * np.sin(2 * np.pi * 190 * t_axis(dur)) * env_perc(n, 0.001, 0.03)


# ---------------------------------------------------------------- music

SCALES = {"major": [0, 2, 4, 5, 7, 9, 11], "minor": [0, 2, 3, 5, 7, 8, 10], "dorian": [0, 2, 3, 5, 7, 9, 10]}


def chord_notes(root, kind):
    return [root, root + (3 if kind == "m" else 4), root + 7]


def render_song(spec):
    bpm, beats_per_bar, bars = spec["bpm"], spec["meter"], spec["bars"]
    beat = 60.0 / bpm
    length = bars * beats_per_bar * beat
    n = int(length * RATE)
    tail = int(2.5 * RATE)
    left = np.zeros(n + tail)
    right = np.zeros(n + tail)
    rs = np.random.RandomState(spec["seed"])
    key = spec["key"]
    scale = SCALES[spec["scale"]]
    prog = spec["progression"]

    def put(sig, at, pan=0.0, vol=1.0):
        sig = sig * vol
        place(left, sig * np.sqrt(0.5 * (1 - pan)), at)
        place(right, sig * np.sqrt(0.5 * (1 + pan)), at)

    # melody: a seeded walk on the scale, shaped into two-bar phrases that repeat with variation
    phrase = []
    deg = 4
    for step in range(beats_per_bar * 2 * 2):
        if rs.rand() < spec.get("rest", 0.2) and step % 2 == 1:
            phrase.append(None)
            continue
        deg = int(np.clip(deg + rs.choice([-2, -1, -1, 1, 1, 2, 0]), 0, 11))
        phrase.append(deg)
    lead = spec["lead"]
    for bar in range(bars):
        root_deg, kind = prog[bar % len(prog)]
        root = key + root_deg
        t0 = bar * beats_per_bar * beat
        chord = chord_notes(root, kind)
        # pad or sustained chord
        if spec.get("pad", True):
            put(pad([midi(x + 12) for x in chord], beats_per_bar * beat + 0.4), t0, 0.0, spec.get("pad_vol", 0.35))
        # bass
        bass_pattern = spec["bass"]
        for b_at, b_off in bass_pattern:
            note = root - 12 + b_off
            put(pluck_bass(midi(note), beat * 0.9), t0 + b_at * beat, -0.1, spec.get("bass_vol", 0.55))
        # comping instrument
        comp = spec.get("comp")
        if comp:
            fn, pattern = comp
            for c_at in pattern:
                for k, x in enumerate(chord):
                    put(fn(midi(x + 12), beat * 1.1), t0 + c_at * beat + k * 0.008, 0.25, spec.get("comp_vol", 0.18))
        # melody (eighth notes); chord tones are favoured on strong beats
        half = (bar % 2) * beats_per_bar * 2
        for i in range(beats_per_bar * 2):
            d = phrase[(half + i) % len(phrase)]
            if d is None:
                continue
            if bar >= bars // 2 and rs.rand() < 0.25:
                d = int(np.clip(d + rs.choice([-1, 1]), 0, 11))
            octave, idx = divmod(d, 7)
            note = key + 12 + scale[idx] + 12 * octave
            if i % 2 == 0:
                # snap to the nearest chord tone
                cands = [x + 12 * o for x in chord for o in (1, 2)]
                note = min(cands, key=lambda c: abs(c - note))
            long = (i % 4 == 0 and rs.rand() < 0.3)
            dur = beat * (1.0 if long else 0.5) + 0.3
            put(lead(midi(note + 12 * spec.get("lead_octave", 0)), dur), t0 + i * beat / 2.0, 0.15,
                spec.get("lead_vol", 0.35))
        # drums
        for d_at, what in spec.get("drums", []):
            if what == "k":
                put(kick(), t0 + d_at * beat, 0.0, spec.get("kick_vol", 0.5))
            elif what == "s":
                put(snap(), t0 + d_at * beat, 0.05, 0.2)
            elif what == "h":
                put(shaker(), t0 + d_at * beat, 0.3, 0.08)
    # wrap the tail round so the loop is seamless
    left[:tail] += left[n:n + tail]
    right[:tail] += right[n:n + tail]
    stereo = np.stack([left[:n], right[:n]], axis=1)
    # a little room
    ir = reverb_ir(1.6, 0.45, spec["seed"])
    ir2 = reverb_ir(1.6, 0.45, spec["seed"] + 1)
    for ch, irx in ((0, ir), (1, ir2)):
        wet = convolve(stereo[:, ch], irx)
        w = np.zeros(n)
        w += wet[:n]
        rest = wet[n:]
        w[:len(rest)] += rest[:n]
        stereo[:, ch] = stereo[:, ch] + spec.get("reverb", 0.16) * w
    return normalise(stereo, 0.8)


SONGS = [
    ("MUSIC_SELECTION", "selection", "gentle music-box waltz for the player selection and the loading scene", dict(
        bpm=96, meter=3, bars=16, key=53, scale="major", seed=11,
        progression=[(0, ""), (5, ""), (7, ""), (0, ""), (9, "m"), (5, ""), (2, "m"), (7, "")],
        bass=[(0, 0), (1, 7), (2, 7)], lead=music_box, lead_vol=0.3, lead_octave=0,
        comp=(epiano, [1, 2]), comp_vol=0.08, pad_vol=0.3, reverb=0.25)),
    ("MUSIC_MAP", "map", "cheerful marimba stroll for the map", dict(
        bpm=112, meter=4, bars=16, key=48, scale="major", seed=23,
        progression=[(0, ""), (9, "m"), (5, ""), (7, "")],
        bass=[(0, 0), (1.5, 7), (2, 12), (3, 7)], lead=mallet, lead_vol=0.42,
        comp=(epiano, [1, 3]), comp_vol=0.1, pad_vol=0.22,
        drums=[(0, "k"), (2, "k"), (1, "s"), (3, "s")] + [(x / 2.0, "h") for x in range(8)], kick_vol=0.35)),
    ("MUSIC_GAME", "game", "relaxed electric-piano groove under play (career levels)", dict(
        bpm=98, meter=4, bars=16, key=55, scale="major", seed=37, rest=0.35,
        progression=[(0, ""), (4, "m"), (5, ""), (2, "m"), (0, ""), (9, "m"), (5, ""), (7, "")],
        bass=[(0, 0), (1.5, 0), (2, 7), (3.5, 5)], lead=epiano, lead_vol=0.28, lead_octave=-1,
        comp=(music_box, [0.5, 2.5]), comp_vol=0.05, pad_vol=0.3,
        drums=[(0, "k"), (2.5, "k"), (1, "s"), (3, "s")] + [(x / 2.0, "h") for x in range(8)], kick_vol=0.3)),
    ("MUSIC_GAMEARCADE", "gamearcade", "brisker dorian groove for the arcade", dict(
        bpm=124, meter=4, bars=16, key=50, scale="dorian", seed=41, rest=0.15,
        progression=[(0, "m"), (5, ""), (0, "m"), (10, ""), (3, ""), (5, ""), (7, "m"), (5, "")],
        bass=[(0, 0), (0.5, 12), (1.5, 0), (2, 7), (3, 10), (3.5, 12)], lead=mallet, lead_vol=0.4,
        comp=(epiano, [0.5, 1.5, 2.5, 3.5]), comp_vol=0.07, pad_vol=0.2,
        drums=[(0, "k"), (1, "k"), (2, "k"), (3, "k"), (1, "s"), (3, "s")] + [(x / 2.0, "h") for x in range(8)],
        kick_vol=0.4)),
    ("MUSIC_SHOP", "shop", "accordion oom-pah for the tool shop", dict(
        bpm=104, meter=4, bars=16, key=46, scale="major", seed=53,
        progression=[(0, ""), (7, ""), (7, ""), (0, ""), (5, ""), (0, ""), (7, ""), (0, "")],
        bass=[(0, 0), (2, 7)], lead=accordion, lead_vol=0.33, pad=False,
        comp=(accordion, [1, 3]), comp_vol=0.1,
        drums=[(0, "k"), (2, "k")] + [(x, "h") for x in range(4)], kick_vol=0.25)),
    ("MUSIC_LEVELEND", "levelend", "warm short loop under the level results", dict(
        bpm=88, meter=4, bars=8, key=52, scale="major", seed=67, rest=0.4,
        progression=[(0, ""), (5, ""), (9, "m"), (7, "")],
        bass=[(0, 0), (2, 7)], lead=bell, lead_vol=0.22, pad_vol=0.4, reverb=0.28)),
    ("MUSIC_FRENZY", "frenzy", "excited fast loop for the bonus frenzy", dict(
        bpm=140, meter=4, bars=8, key=57, scale="major", seed=71, rest=0.05,
        progression=[(0, ""), (5, ""), (7, ""), (5, "")],
        bass=[(x / 2.0, 0 if x % 2 == 0 else 12) for x in range(8)], lead=mallet, lead_vol=0.42,
        comp=(epiano, [0.5, 1.5, 2.5, 3.5]), comp_vol=0.07, pad_vol=0.2,
        drums=[(x, "k") for x in range(4)] + [(1, "s"), (3, "s")] + [(x / 2.0, "h") for x in range(8)], kick_vol=0.4)),
]


# ---------------------------------------------------------------- effects

def arp(notes, step, voice=mallet, dur=0.6, vol=None):
    total = step * len(notes) + dur
    buf = np.zeros(int(total * RATE))
    for i, nte in enumerate(notes):
        v = 1.0 if vol is None else vol[i]
        place(buf, voice(midi(nte), dur) * v, i * step)
    return buf


def chord_hit(notes, voice=bell, dur=1.0):
    buf = np.zeros(int(dur * RATE))
    for i, nte in enumerate(notes):
        place(buf, voice(midi(nte), dur), i * 0.012)
    return buf


def whoosh(dur, f0, f1, seed, vol=1.0):
    n = int(dur * RATE)
    nz = noise(dur, seed)
    # a moving band: blend of two fixed filters crossfaded over time
    lo = fft_lowpass(nz, f0, 2)
    hi = fft_lowpass(nz, f1, 2)
    x = np.linspace(0, 1, n)
    sig = lo * (1 - x) + hi * x
    return sig * np.sin(np.pi * x) ** 1.5 * vol


def sweep(dur, f0, f1, index=1.0):
    n = int(dur * RATE)
    t = t_axis(dur)
    f = f0 * (f1 / f0) ** (t / dur)
    ph = 2 * np.pi * np.cumsum(f) / RATE
    mod = index * np.sin(ph * 2)
    return np.sin(ph + mod) * env_adsr(n, 0.01, 0.05, 0.8, dur * 0.4)


def pop(freq=600, dur=0.12):
    n = int(dur * RATE)
    t = t_axis(dur)
    f = freq * (1 + 1.5 * np.exp(-t / 0.01))
    return np.sin(2 * np.pi * np.cumsum(f) / RATE) * env_perc(n, 0.001, 0.03)


def tick(freq=2400, dur=0.05, seed=9):
    n = int(dur * RATE)
    return (0.6 * np.sin(2 * np.pi * freq * t_axis(dur)) + 0.4 * fft_highpass(noise(dur, seed), 3000)) * env_perc(n, 0.0005, 0.008)


def sparkle(dur=0.6, seed=5, base=84, count=7):
    rs = np.random.RandomState(seed)
    buf = np.zeros(int((dur + 0.4) * RATE))
    for i in range(count):
        place(buf, bell(midi(base + rs.choice([0, 3, 5, 7, 10, 12, 15])), 0.4, 1.0) * rs.uniform(0.3, 0.8),
              i * dur / count + rs.uniform(0, 0.02))
    return buf


def boing(dur=0.35, f0=220, f1=520):
    n = int(dur * RATE)
    t = t_axis(dur)
    f = f0 + (f1 - f0) * (1 - np.exp(-t / 0.05)) + 30 * np.sin(2 * np.pi * 18 * t) * np.exp(-t / 0.1)
    return np.sin(2 * np.pi * np.cumsum(f) / RATE) * env_perc(n, 0.002, 0.12)


def clink(freq=2100, dur=0.5):
    n = int(dur * RATE)
    return additive(freq, dur, [(1, 1), (2.71, 0.6), (5.13, 0.35), (7.9, 0.2)], [0.25, 0.12, 0.06, 0.04],
                    env_perc(n, 0.0005, 0.2))


def thump(freq=90, dur=0.25):
    t = t_axis(dur)
    f = freq * (1 + np.exp(-t / 0.02))
    n = int(dur * RATE)
    return np.sin(2 * np.pi * np.cumsum(f) / RATE) * env_perc(n, 0.001, 0.07) + 0.2 * fft_lowpass(noise(dur, 8), 900) * env_perc(n, 0.001, 0.03)


def mix_all(*parts):
    n = max(len(p) for _, p in parts)
    buf = np.zeros(n)
    for at, p in parts:
        place(buf, p, float(at))
    return buf


def zap(seed, f0=1600, f1=300, dur=0.32):
    return mix_all((0.0, sweep(dur, f0, f1, 1.5) * 0.6), (0.0, whoosh(dur, 2000, 7000, seed) * 0.5))


def fanfare(notes, step=0.11, hold=0.8):
    buf = arp(notes[:-1], step, mallet, 0.5)
    last = chord_hit([notes[-1], notes[-1] - 5, notes[-1] - 8], bell, hold + 0.6)
    return mix_all((0.0, buf), (step * (len(notes) - 1), last * 0.9))


def match(k):
    base = 67 + (k - 3) * 2
    notes = [base, base + 4, base + 7, base + 12][: min(4, k - 1)]
    if k >= 6:
        notes.append(base + 16)
    return mix_all((0.0, arp(notes, 0.045, mallet, 0.45)), (0.05, sparkle(0.25, 30 + k, 88, 3 + k) * 0.4))


SOUNDS = {
    # interface
    "SOUND_BUTTON": ("button", "button press: a soft wooden tap with a bright tail",
                     lambda: mix_all((0.0, mallet(midi(79), 0.25, 0.6) * 0.8), (0.0, tick(3000, 0.03) * 0.3))),
    "SOUND_BUTTON_OVER": ("button_over", "pointer over a button (\"oversound\")", lambda: tick(2600, 0.04) * 0.35),
    "SOUND_BUTTON_DISABLED": ("button_disabled", "press on a disabled button: a muffled double knock",
                              lambda: mix_all((0.0, thump(160, 0.12)), (0.09, thump(140, 0.12)))),
    "SOUND_DIALOG_SHOW": ("dialog_show", "dialog fades in: rising airy swish with a chime",
                          lambda: mix_all((0.0, whoosh(0.35, 600, 4000, 21) * 0.5), (0.18, bell(midi(84), 0.6, 1.2) * 0.35))),
    "SOUND_DIALOG_HIDE": ("dialog_hide", "dialog fades out: falling swish",
                          lambda: whoosh(0.3, 3500, 500, 22) * 0.5),
    "SOUND_SLIDER": ("slider", "slider step buttons and thumb: small tick",
                          lambda: mix_all((0.0, tick(1800, 0.05) * 0.6), (0.0, mallet(midi(88), 0.15, 0.4) * 0.3))),
    "SOUND_SWITCH_ON": ("switch_on", "check box or radio switched on (\"onsound\")",
                        lambda: arp([76, 83], 0.05, mallet, 0.25)),
    "SOUND_SWITCH_OFF": ("switch_off", "check box switched off (\"offsound\")",
                         lambda: arp([83, 76], 0.05, mallet, 0.25)),
    "SOUND_PAUSE": ("pause", "game paused", lambda: arp([79, 72], 0.08, bell, 0.5)),
    "SOUND_UNPAUSE": ("unpause", "game resumed", lambda: arp([72, 79], 0.08, bell, 0.5)),
    "SOUND_CHARACTER": ("character", "a customer's speech blip",
                        lambda: mix_all((0.0, fm(midi(64), 0.12, 2.0, 2.5, 0.05, env_adsr(int(0.12 * RATE), 0.01, 0.03, 0.7, 0.04))),
                                        (0.11, fm(midi(67), 0.16, 2.0, 2.0, 0.05, env_adsr(int(0.16 * RATE), 0.01, 0.03, 0.7, 0.06))))),
    "SOUND_DIALOGHINT_SHOW": ("dialoghint_show", "hint bubble appears: bubbly pop and twinkle",
                              lambda: mix_all((0.0, pop(500)), (0.06, pop(800) * 0.7), (0.1, bell(midi(91), 0.5, 0.8) * 0.3))),
    "SOUND_DIALOGHINT_HIDE": ("dialoghint_hide", "hint bubble disappears", lambda: mix_all((0.0, pop(700) * 0.7), (0.05, pop(420) * 0.6))),
    "SOUND_PASTRY_THEMESELECT": ("pastry_themeselect", "a theme's pastry chosen on the map",
                                 lambda: mix_all((0.0, boing(0.3, 260, 620) * 0.5), (0.08, bell(midi(84), 0.7) * 0.4))),
    "SOUND_TOOL_SPARKLE": ("tool_sparkle", "tool sparkle in the shop", lambda: sparkle(0.5, 61, 86, 6) * 0.6),
    "SOUND_TOOL_SLIDE": ("tool_slide", "tool slides into its slot", lambda: whoosh(0.4, 800, 2500, 62) * 0.6),
    "SOUND_TOOLACQUIRED": ("toolacquired", "tool bought", lambda: fanfare([72, 76, 79, 84], 0.09, 0.7)),
    "SOUND_RANKUP": ("rankup", "new rank", lambda: fanfare([67, 72, 76, 79, 84], 0.1, 1.0)),
    "SOUND_TROPHY_ADDED": ("trophy_added", "trophy announced", lambda: mix_all((0.0, sparkle(0.7, 63, 84, 8) * 0.6), (0.1, chord_hit([72, 76, 79], bell, 1.2) * 0.5))),
    "SOUND_TROPHY_WON": ("trophy_won", "trophy shown as won", lambda: fanfare([76, 79, 84, 88], 0.08, 0.9)),
    "SOUND_FADEINDELAY_GAME": ("fadeindelay_game", "soft swell as the game scene fades in", lambda: whoosh(0.8, 300, 2500, 64) * 0.4),
    "SOUND_FADEINDELAY_ARCADE": ("fadeindelay_arcade", "soft swell as the arcade fades in", lambda: whoosh(0.8, 350, 3000, 65) * 0.4),
    "SOUND_FADEINDELAY_PATISSERIE": ("fadeindelay_patisserie", "soft swell as the shop fades in", lambda: whoosh(0.8, 250, 2200, 66) * 0.4),
    "SOUND_ARCADESCENE_CURTAIN": ("arcadescene_curtain", "arcade curtain swish", lambda: whoosh(1.0, 400, 1800, 67) * 0.7),
    # board
    "SOUND_SWAP": ("swap", "two ingredients swap", lambda: mix_all((0.0, whoosh(0.18, 1200, 4000, 31) * 0.5), (0.02, tick(2000, 0.04) * 0.3))),
    "SOUND_INVALIDSWAP": ("invalidswap", "a swap that makes no match: gentle 'uh-uh'",
                          lambda: mix_all((0.0, epiano(midi(62), 0.22) * 0.6), (0.14, epiano(midi(58), 0.3) * 0.6))),
    "SOUND_MATCH3": ("match3", "match of three", lambda: match(3)),
    "SOUND_MATCH4": ("match4", "match of four", lambda: match(4)),
    "SOUND_MATCH5": ("match5", "match of five", lambda: match(5)),
    "SOUND_MATCH6": ("match6", "match of six", lambda: match(6)),
    "SOUND_MATCH7": ("match7", "match of seven or more", lambda: match(7)),
    "SOUND_MATCH_X3": ("match_x3", "three matches at once", lambda: mix_all((0.0, match(4)), (0.12, chord_hit([84, 88, 91], bell, 0.8) * 0.4))),
    "SOUND_MATCH_X5": ("match_x5", "five matches at once", lambda: mix_all((0.0, match(6)), (0.12, sparkle(0.6, 70, 91, 8) * 0.5))),
    "SOUND_MATCH_UNRIPE": ("match_unripe", "match of unripe fruit: a duller pluck",
                           lambda: arp([64, 67, 71], 0.05, lambda f, d: pluck_bass(f * 2, d), 0.3)),
    "SOUND_COMBO": ("combo", "combo: quick ascending run", lambda: arp([72, 74, 76, 79, 81, 84], 0.04, mallet, 0.4)),
    "SOUND_ZAPINGREDIENT": ("zapingredient", "an ingredient zapped", lambda: zap(41)),
    "SOUND_ZAPFRUIT": ("zapfruit", "a fruit zapped", lambda: zap(42, 2000, 500)),
    "SOUND_ZAPUNRIPE": ("zapunripe", "an unripe fruit zapped", lambda: zap(43, 1200, 200)),
    "SOUND_FILLGRID": ("fillgrid", "the grid fills: pitter-patter of falling pieces",
                       lambda: mix_all(*[(i * 0.035, mallet(midi(72 + (i * 5) % 12), 0.15, 0.5) * (0.25 + 0.03 * (i % 4))) for i in range(16)])),
    "SOUND_NEWLINE": ("newline", "a new row of ingredients", lambda: arp([79, 84], 0.06, mallet, 0.3)),
    "SOUND_CLEARGRID_WON": ("cleargrid_won", "the board clears after a win: cascading chimes",
                            lambda: arp([91, 88, 84, 79, 76, 72, 67], 0.06, bell, 0.5)),
    "SOUND_CLEARGRID_LOST": ("cleargrid_lost", "the board clears after a loss: soft falling tones",
                             lambda: arp([72, 69, 65, 62, 57], 0.09, epiano, 0.5)),
    "SOUND_SHOWMATCHHINT": ("showmatchhint", "a possible match is pointed out", lambda: arp([88, 91], 0.08, bell, 0.5) * 0.6),
    "SOUND_POWERUP": ("powerup", "a bonus charges up", lambda: mix_all((0.0, sweep(0.5, 300, 1400, 0.8) * 0.6), (0.3, bell(midi(84), 0.6) * 0.4))),
    "SOUND_CAKESDROPIN": ("cakesdropin", "pastries drop onto the counter",
                          lambda: mix_all((0.0, thump(110)), (0.12, thump(100) * 0.8), (0.22, thump(95) * 0.6))),
    "SOUND_PASTRYCREATING": ("pastrycreating", "a pastry is being baked: warm bubbling",
                             lambda: mix_all(*[(i * 0.06, pop(300 + 90 * ((i * 7) % 5), 0.1) * 0.5) for i in range(10)])),
    "SOUND_PASTRYFINISHED": ("pastryfinished", "a pastry is finished", lambda: mix_all((0.0, chord_hit([76, 79, 84], bell, 1.0) * 0.6), (0.05, sparkle(0.4, 71, 91, 5) * 0.4))),
    "SOUND_PASTRYHOP": ("pastryhop", "a finished pastry hops", lambda: boing(0.3, 300, 700) * 0.6),
    "SOUND_CLICKTOFINISHPASTRY": ("clicktofinishpastry", "click to finish a pastry", lambda: mix_all((0.0, bell(midi(88), 0.8) * 0.6), (0.0, tick(3000, 0.03) * 0.3))),
    "SOUND_ADDINGREDIENTSTORECIPE": ("addingredientstorecipe", "ingredients fly into the recipe", lambda: mix_all((0.0, pop(650) * 0.7), (0.05, whoosh(0.2, 2000, 5000, 72) * 0.3))),
    "SOUND_ADDQUALITYSTAR": ("addqualitystar", "a quality star is earned", lambda: mix_all((0.0, bell(midi(91), 0.7) * 0.6), (0.03, sparkle(0.3, 73, 96, 4) * 0.3))),
    "SOUND_ADDNEWPLATE": ("addnewplate", "a new plate is set down", lambda: clink(1900, 0.5) * 0.6),
    "SOUND_PLATESTACK": ("platestack", "plates stacked", lambda: mix_all((0.0, clink(2000, 0.4) * 0.5), (0.08, clink(2300, 0.4) * 0.4))),
    "SOUND_FLASHGOAL": ("flashgoal", "the goal flashes", lambda: arp([84, 91, 84], 0.07, bell, 0.4) * 0.6),
    "SOUND_GOALREACHED": ("goalreached", "the goal is reached", lambda: fanfare([72, 76, 79, 84], 0.09, 1.0)),
    "SOUND_FRENZY_START": ("frenzy_start", "the bonus frenzy starts", lambda: mix_all((0.0, sweep(0.6, 200, 1600, 1.2) * 0.5), (0.45, fanfare([79, 84, 88], 0.07, 0.8)))),
    "SOUND_FRENZY_FLOATER": ("frenzy_floater", "a frenzy score floater", lambda: pop(900, 0.1) * 0.6),
    "SOUND_BONUS_STAR": ("bonus_star", "bonus: star", lambda: sparkle(0.5, 81, 88, 6) * 0.7),
    "SOUND_BONUS_ZAP": ("bonus_zap", "bonus: zap", lambda: zap(82, 2400, 200, 0.45)),
    "SOUND_BONUS_UNRIPEZAP": ("bonus_unripezap", "bonus: unripe zap", lambda: zap(83, 1400, 150, 0.45)),
    "SOUND_BONUS_SECRET": ("bonus_secret", "bonus: secret ingredient", lambda: arp([72, 75, 79, 82, 86], 0.07, bell, 0.6) * 0.6),
    "SOUND_BONUS_SECRETINCREASE": ("bonus_secretincrease", "bonus: secret ingredient grows", lambda: arp([79, 86], 0.06, bell, 0.5) * 0.6),
    "SOUND_BONUS_WORKDONE": ("bonus_workdone", "bonus: work done", lambda: fanfare([72, 79, 84], 0.08, 0.7)),
    "SOUND_BONUS_FRUITPICKER": ("bonus_fruitpicker", "bonus: fruit picker", lambda: arp([76, 81, 76, 84], 0.06, mallet, 0.35)),
    "SOUND_BONUS_CHOCOLATELOVER": ("bonus_chocolatelover", "bonus: chocolate lover", lambda: arp([60, 64, 67, 72], 0.07, epiano, 0.5)),
    "SOUND_BONUS_TOTALREFRESHSUCK": ("bonus_totalrefreshsuck", "bonus: the board is sucked away", lambda: whoosh(0.7, 5000, 300, 84) * 0.7),
    "SOUND_BONUS_TOTALREFRESHBLOW": ("bonus_totalrefreshblow", "bonus: the board blows back in", lambda: whoosh(0.7, 300, 5000, 85) * 0.7),
    "SOUND_ARCADE_ALERT": ("arcade_alert", "arcade: the counter is nearly full", lambda: arp([81, 77, 81, 77], 0.12, epiano, 0.2) * 0.7),
    "SOUND_ARCADE_LEVELUP": ("arcade_levelup", "arcade: next level", lambda: fanfare([67, 71, 74, 79, 83], 0.08, 0.9)),
    "SOUND_ARCADE_PASTRYDONE": ("arcade_pastrydone", "arcade: pastry done", lambda: chord_hit([79, 83, 86], bell, 0.8) * 0.6),
    "SOUND_ARCADE_PASTRYFLUSH": ("arcade_pastryflush", "arcade: pastries flushed", lambda: whoosh(0.6, 2500, 400, 86) * 0.7),
}

def combo(k):
    """Combo k (1-10): the run climbs a little higher with every step of the combo."""
    base = 64 + k * 2
    notes = [base, base + 4, base + 7, base + 12][: 2 + min(2, k // 3)]
    return mix_all((0.0, arp(notes, 0.04, mallet, 0.4)), (0.06, sparkle(0.2 + 0.04 * k, 100 + k, 84 + k, 2 + k // 2) * 0.45))


for _k in range(1, 11):
    SOUNDS["SOUND_COMBO%d" % _k] = ("combo%d" % _k, "combo step %d" % _k, (lambda k=_k: combo(k)))

def slider_tick(k):
    """Tick k (1-8) of the effects slider: the louder the setting, the higher the note."""
    return mix_all((0.0, tick(1600 + 150 * k, 0.05) * 0.5), (0.0, mallet(midi(74 + 2 * k), 0.18, 0.5) * 0.45))


for _k in range(1, 9):
    SOUNDS["SOUND_SLIDER_%d" % _k] = ("slider_%d" % _k, "effects slider dragged, tick %d of 8 (higher as the volume rises)" % _k,
                                      (lambda k=_k: slider_tick(k)))

SOUNDS.update({
    "SOUND_STRAWBERRY": ("strawberry", "strawberries matched: a soft juicy squish",
                         lambda: mix_all((0.0, pop(380, 0.14)), (0.03, fft_lowpass(noise(0.12, 91), 1800) * env_perc(int(0.12 * RATE), 0.005, 0.04) * 0.5),
                                         (0.05, mallet(midi(76), 0.3) * 0.4))),
    "SOUND_CHERRY": ("cherry", "cherries matched: a two-note plink", lambda: arp([84, 88], 0.06, mallet, 0.3)),
    "SOUND_LEMON": ("lemon", "lemons matched: a bright zesty zing",
                    lambda: mix_all((0.0, sweep(0.18, 900, 1800, 0.6) * 0.4), (0.04, bell(midi(91), 0.4, 1.5) * 0.5))),
    "SOUND_BANANA": ("banana", "bananas matched: a playful boing", lambda: boing(0.3, 180, 420) * 0.7),
})

STINGS = [
    ("STING_LEVEL_START", "sting_level_start", "a level starts", lambda: fanfare([67, 72, 76, 79], 0.12, 1.2)),
    ("STING_LEVEL_FINISH", "sting_level_finish", "a level is won",
     lambda: mix_all((0.0, fanfare([72, 76, 79, 84, 88], 0.11, 1.6)), (0.55, sparkle(1.0, 91, 91, 10) * 0.4))),
    ("STING_LEVEL_LOSE", "sting_level_lose", "a level is lost: kind, not harsh",
     lambda: mix_all((0.0, arp([72, 71, 69, 67], 0.22, epiano, 0.8)), (0.9, chord_hit([60, 65, 69], bell, 1.5) * 0.5))),
    ("STING_LEVELSELECTION", "sting_levelselection", "the map opens on a level", lambda: arp([79, 84, 88], 0.08, bell, 0.9)),
    ("STING_THEMEFINISHED", "sting_themefinished", "a theme is finished",
     lambda: mix_all((0.0, fanfare([72, 76, 79, 84, 79, 84, 88], 0.1, 1.8)), (0.7, sparkle(1.2, 92, 91, 12) * 0.45))),
    ("STING_THEMENEW", "sting_themenew", "a new theme opens", lambda: mix_all((0.0, arp([74, 79, 83, 86], 0.09, mallet, 0.6)), (0.36, chord_hit([79, 83, 86], bell, 1.2) * 0.5))),
    ("STING_TROPHY", "sting_trophy", "a trophy is awarded", lambda: mix_all((0.0, fanfare([76, 81, 85, 88], 0.09, 1.4)), (0.3, sparkle(0.8, 93, 93, 9) * 0.4))),
]


# Peak levels: frequent and small interface sounds sit lower so they never tire the ear.
PEAKS = {"button_over": 0.3, "slider": 0.45, "swap": 0.5, "frenzy_floater": 0.5, "newline": 0.55,
         "fillgrid": 0.5, "dialog_show": 0.55, "dialog_hide": 0.5, "button": 0.65, "character": 0.55,
         "switch_on": 0.6, "switch_off": 0.6, "showmatchhint": 0.55, "dialoghint_show": 0.6,
         "dialoghint_hide": 0.5, "match3": 0.65, "addingredientstorecipe": 0.6}
PEAKS.update({"slider_%d" % _k: 0.45 for _k in range(1, 9)})


def to_stereo(mono, width=0.0):
    return np.stack([mono, mono], axis=1)


def main():
    for key, name, purpose, recipe in [(k,) + v for k, v in SOUNDS.items()]:
        sig = recipe()
        sig = add_reverb(sig, 0.12, 0.8, 0.22, seed=len(name))
        sig = fade_edges(trim_tail(normalise(sig, PEAKS.get(name, 0.75))), 0.002, 0.04)
        write_ogg(sig, "media/sounds/%s.ogg" % name, "\"%s\": %s" % (key, purpose), G_SOUND, 4)
    for key, name, purpose, recipe in STINGS:
        sig = add_reverb(recipe(), 0.2, 1.5, 0.4, seed=len(name))
        sig = fade_edges(trim_tail(normalise(sig, 0.8)), 0.002, 0.08)
        write_ogg(to_stereo(sig), "media/sounds/%s.ogg" % name, "\"%s\": %s" % (key, purpose), G_STING, 2)
    for key, name, purpose, spec in SONGS:
        stereo = render_song(spec)
        write_ogg(stereo, "media/music/%s.ogg" % name, "\"%s\": %s" % (key, purpose), G_MUSIC, 1,
                  ", loops seamlessly")


if __name__ == "__main__":
    main()
