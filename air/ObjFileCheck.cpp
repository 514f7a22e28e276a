#include "ObjFileCheck.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace {

bool isNumber(const std::string& token)
{
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(token.c_str(), &end);
    return !token.empty() && *end == '\0' && errno == 0 && std::isfinite(value);
}

bool allNumbers(const std::vector<std::string>& tokens, std::size_t least, std::size_t most)
{
    const std::size_t count = tokens.size() - 1;
    if (count < least || count > most)
        return false;
    for (std::size_t i = 1; i < tokens.size(); ++i)
        if (!isNumber(tokens[i]))
            return false;
    return true;
}

// One index of a face corner: 1 to count counts from the first element read
// so far, -1 to -count back from the latest.
bool isIndex(const std::string& text, long count)
{
    if (text.empty() || text.size() > 10)
        return false;
    char* end = nullptr;
    const long index = std::strtol(text.c_str(), &end, 10);
    return *end == '\0' && index != 0 && index <= count && index >= -count;
}

// A corner: v, v/vt, v//vn or v/vt/vn.
bool isCorner(const std::string& corner, long vertices, long texCoords, long normals)
{
    const std::size_t first = corner.find('/');
    if (first == std::string::npos)
        return isIndex(corner, vertices);
    if (!isIndex(corner.substr(0, first), vertices))
        return false;
    const std::size_t second = corner.find('/', first + 1);
    const std::string texCoord = corner.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    if (second == std::string::npos)
        return isIndex(texCoord, texCoords);
    if (!texCoord.empty() && !isIndex(texCoord, texCoords))
        return false;
    return isIndex(corner.substr(second + 1), normals);
}

} // namespace

bool ObjFileCheck::isWellFormed(const std::string& text)
{
    // Control characters other than white space have no place in the text.
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\n' && c != '\r' && c != '\t' && c != '\f' && c != '\v')
            return false;
        if (u == 0x7F)
            return false;
    }

    long vertices = 0, texCoords = 0, normals = 0;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        const std::vector<std::string> tokens{std::istream_iterator<std::string>(words),
                                              std::istream_iterator<std::string>()};
        if (tokens.empty() || tokens[0][0] == '#')
            continue;
        const std::string& keyword = tokens[0];
        if (keyword == "v") {
            // Position, with an optional weight or vertex colour.
            if (!allNumbers(tokens, 3, 7))
                return false;
            ++vertices;
        } else if (keyword == "vt") {
            if (!allNumbers(tokens, 1, 3))
                return false;
            ++texCoords;
        } else if (keyword == "vn") {
            if (!allNumbers(tokens, 3, 3))
                return false;
            ++normals;
        } else if (keyword == "f") {
            if (tokens.size() < 4)
                return false;
            for (std::size_t i = 1; i < tokens.size(); ++i)
                if (!isCorner(tokens[i], vertices, texCoords, normals))
                    return false;
        } else if (keyword == "s") {
            if (tokens.size() != 2 || (tokens[1] != "off" && !isNumber(tokens[1])))
                return false;
        } else if (keyword != "g" && keyword != "o" && keyword != "usemtl" && keyword != "mtllib") {
            return false;
        }
    }
    return true;
}

bool ObjFileCheck::fileIsWellFormed(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return !file.bad() && isWellFormed(text);
}
