#include "protocol/input_line.h"

namespace corvid {

bool readInputLine(std::FILE* file, std::string& line) {
    line.clear();
    bool readAny = false;
    int c;
    while ((c = std::getc(file)) != EOF) {
        readAny = true;
        if (c == '\n') break;
        if (line.size() < MaxInputLine) line.push_back(char(c));
    }
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return readAny;
}

} // namespace corvid
