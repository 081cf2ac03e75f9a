// Temporary entry point until the application shell lands: honours
// "-unittest" and otherwise exits at once.
#include <cstring>
#include <string>

#include "framework/core/StringUtils.h"

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (toLowerAscii(argv[i]).find("-unittest") != std::string::npos)
            return 0;
    }
    return 0;
}
