// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A file written beside its final name and put in place whole on Commit, so
// a failed write leaves what was there before.

#include <cstdio>
#include <string>
#include <string_view>

class ReplacedFile {
public:
    explicit ReplacedFile(std::string path) : path_(std::move(path)) {}
    ~ReplacedFile();  // without Commit, the new content goes

    ReplacedFile(const ReplacedFile&) = delete;
    ReplacedFile& operator=(const ReplacedFile&) = delete;

    // False with `error` set when the file could not be made there.
    bool Open(std::string& error);
    bool Commit(std::string_view content, std::string& error);

private:
    std::string path_;
    std::string partial_;
    std::FILE* file_ = nullptr;
};
