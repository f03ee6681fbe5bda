#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace updater::test {

struct TempFolder {
  TempFolder() {
    std::random_device random;
    do path = (std::filesystem::temp_directory_path() / ("updater-test-" + std::to_string(random()))).string();
    while (!std::filesystem::create_directory(path));
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }

  std::string operator/(const std::string& name) const { return (std::filesystem::path(path) / name).string(); }
  std::string Write(const std::string& name, const std::string& content) const {
    std::ofstream(*this / name, std::ios::binary) << content;
    return *this / name;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(*this / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string path;
};

}  // namespace updater::test
