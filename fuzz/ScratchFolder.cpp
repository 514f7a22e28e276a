#include "ScratchFolder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

ScratchFolder::ScratchFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/torvel-fuzz.XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    folder = pattern;
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string ScratchFolder::write(const std::string& name, const std::uint8_t* data, std::size_t size) const
{
    const std::string path = pathOf(name);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!file) {
        // A harness that cannot write its input would fuzz nothing.
        std::perror(path.c_str());
        std::abort();
    }
    return path;
}

void ScratchFolder::clear() const
{
    std::error_code ignored;
    for (const auto& item : std::filesystem::directory_iterator(folder, ignored))
        std::filesystem::remove_all(item.path(), ignored);
}

const ScratchFolder& ScratchFolder::shared()
{
    static const ScratchFolder folder;
    return folder;
}
