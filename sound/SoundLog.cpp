#include "SoundLog.h"

#include <cstdio>
#include <iostream>

namespace torvel {

SoundLog::SoundLog(std::string path)
    : path(std::move(path)), startTime(std::chrono::steady_clock::now()) {}

void SoundLog::write(const std::string& message) {
    if (lines.size() >= maxLines) {
        ++droppedLines;
    } else {
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - startTime).count();
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%lld.%03lld s",
                      static_cast<long long>(elapsed / 1000), static_cast<long long>(elapsed % 1000));
        lines.push_back(std::string("<li><b>") + stamp + "</b> " + escape(message) + "</li>");
    }
    rewrite();
}

std::string SoundLog::escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            // Control characters (a path read from somewhere odd) would make the page invalid.
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
                out += '?';
            else
                out += c;
        }
    }
    return out;
}

void SoundLog::rewrite() {
    if (path.empty())
        return;
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "w");
    bool written = file != nullptr;
    if (file) {
        std::fputs("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                   "<title>Torvel sound log</title>\n</head>\n<body>\n<h1>Torvel sound log</h1>\n<ul>\n",
                   file);
        for (const std::string& line : lines) {
            std::fputs(line.c_str(), file);
            std::fputc('\n', file);
        }
        if (droppedLines > 0)
            std::fprintf(file, "<li>%zu later events not kept</li>\n", droppedLines);
        std::fputs("</ul>\n</body>\n</html>\n", file);
        written = std::ferror(file) == 0;
        written = std::fclose(file) == 0 && written;
    }
    if (written)
        written = std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!written) {
        std::remove(temporary.c_str());
        if (!failureReported)
            std::cerr << "Sound log " << path << " cannot be written; the game goes on without it" << std::endl;
        failureReported = true;
    }
}

} // namespace torvel
