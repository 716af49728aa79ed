// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/file_system.h"
#include "command_line/replaced_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

std::string Problem(int error)
{
    // As people know it from other tools writing files.
    return error == EISDIR ? "Filename refers to a directory" : std::strerror(error);
}

}  // namespace

ReplacedFile::~ReplacedFile()
{
    if (file_ != nullptr)
        std::fclose(file_);
    if (!partial_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(PathOf(partial_), ignored);
    }
}

bool ReplacedFile::Open(std::string& error)
{
    std::error_code code;
    if (std::filesystem::is_directory(PathOf(path_), code)) {
        error = Problem(EISDIR);
        return false;
    }
    partial_ = path_ + ".partial";
    file_ = OpenFile(partial_, "wb");
    if (file_ == nullptr) {
        error = Problem(errno);
        partial_.clear();
        return false;
    }
    return true;
}

bool ReplacedFile::Commit(std::string_view content, std::string& error)
{
    const bool written = std::fwrite(content.data(), 1, content.size(), file_) == content.size();
    const int writeError = errno;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!written || !closed) {
        error = Problem(written ? errno : writeError);
        return false;
    }
    std::error_code code;
    std::filesystem::rename(PathOf(partial_), PathOf(path_), code);
    if (code) {
        error = code.message();
        return false;
    }
    partial_.clear();
    return true;
}
