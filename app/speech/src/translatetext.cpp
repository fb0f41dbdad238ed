#include "speech/translatetext.h"

namespace speech {
namespace {

constexpr unsigned char kEscape = 27;

bool isMarker(unsigned char c) {
    return c == kEscape || c == '~' || c == '*';
}

}  // namespace

void TranslateText(const char* source, char* target, std::size_t length, bool ansi) {
    std::size_t i = 0;
    while (i < length) {
        const auto c = static_cast<unsigned char>(source[i]);
        if (isMarker(c)) {
            if (source[i + 1] == 'D' || source[i + 1] == 'd') {
                target[i] = ' ';
                if (i + 1 < length) {
                    target[i + 1] = ' ';
                }
                i += 2;
                continue;
            }
            target[i] = static_cast<char>(kEscape);
        } else if (ansi && (c == 140 || c == 156)) {
            target[i] = 'e';
        } else {
            target[i] = static_cast<char>(c);
        }
        ++i;
    }
}

}  // namespace speech
