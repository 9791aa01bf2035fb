#include "app/log.h"

#include <iconv.h>

#include <cerrno>

Log::Log(const std::string& fileName) : stream(fileName, std::ios::out | std::ios::trunc) {
    writeLine("==========");
    writeLine("   HEXIL");
    writeLine("==========");
}

void Log::writeLine(const std::string& text) {
    stream << toWindows1250(text) << std::endl;
}

namespace {

// Length of the UTF-8 sequence that starts with this byte; 1 for a stray byte, so that
// skipping it always makes progress.
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) {
        return 4;
    }
    if (lead >= 0xE0) {
        return lead < 0xF0 ? 3 : 1;
    }
    return lead >= 0xC0 ? 2 : 1;
}

} // namespace

std::string toWindows1250(const std::string& utf8) {
    iconv_t cd = iconv_open("WINDOWS-1250", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return utf8;
    }
    std::string out(utf8.size(), '\0'); // never longer: at most one byte per character
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno != EILSEQ && errno != EINVAL) {
            break;
        }
        const std::size_t skip = std::min(inLeft, sequenceLength(static_cast<unsigned char>(*in)));
        in += skip;
        inLeft -= skip;
        *outPtr++ = '?';
        --outLeft;
    }
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}
