// The update package on its way from the server to the installer: downloaded into a private
// temporary folder, then held open against writers while its size and digest are checked and
// while it runs, so the file that was checked is the file that runs.
#pragma once

#include "framework/Handles.h"

#include <cstdint>
#include <string>

class Package {
  public:
    Package() = default;
    ~Package();
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    // Downloads url into a new temporary folder; at most `size` bytes are accepted.
    bool Download(const std::string& url, std::uint64_t size);

    // Opens the downloaded file so that nobody can change it any more, and checks that it has
    // exactly `size` bytes whose SHA-256 is sha256Hex.
    bool Verify(std::uint64_t size, const std::string& sha256Hex);

    const std::wstring& path() const { return path_; }

  private:
    std::wstring folder_;
    std::wstring path_;
    fw::FileHandle held_;
};
