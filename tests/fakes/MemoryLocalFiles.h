#pragma once
// A temporary folder in memory: /tmp/. Files keep their first 32 MiB and count every byte.

#include <map>
#include <memory>
#include <string>

#include "platform/LocalFiles.h"
#include "text/Fault.h"

namespace updater::test {

struct MemoryLocalFiles : ILocalFiles {
  struct Entry {
    std::string bytes;
    std::uint64_t size = 0;
    bool open = false;
  };
  struct File : IOutputFile {
    explicit File(Entry& e) : entry(e) { entry.open = true; }
    ~File() override { entry.open = false; }
    void Append(const std::uint8_t* data, std::size_t size) override {
      entry.size += size;
      if (entry.bytes.size() < (32u << 20)) entry.bytes.append(reinterpret_cast<const char*>(data), size);
    }
    void Close() override { entry.open = false; }
    Entry& entry;
  };

  std::string TempPath() override { return "/tmp/"; }
  bool IsLocalFileName(const std::string& name) override { return name != refusedName; }
  bool Exists(const std::string& path) override { return files.count(path) != 0; }
  void Delete(const std::string& path) override {
    if (failDelete) RaiseFault(FaultNumber::PermissionDenied);
    files.erase(path);
  }
  std::unique_ptr<IOutputFile> Create(const std::string& path) override {
    if (files.count(path)) RaiseFault(FaultNumber::FileAlreadyExists);
    return std::make_unique<File>(files[path]);
  }

  std::map<std::string, Entry> files;
  bool failDelete = false;
  std::string refusedName;  // a name the platform's file-name rules refuse
};

}  // namespace updater::test
