#pragma once

// What the file service's conformance suite asks of a system: each system's tests implement it
// once (tests/os/<system>/conformance/).
#include <memory>
#include <string>
#include <vector>

#include "core/services/FileSystem.h"

namespace trelvin::conformance {

class FileSystemDriver {
 public:
  virtual ~FileSystemDriver() = default;
  // The system's file service.
  virtual FileSystem& Files() = 0;
  // A new empty folder of the test's own, with its trailing separator; gone with the driver.
  virtual std::string NewFolder() = 0;
  // Makes a file in `dir` that the system hides from its user (a dot name, the hidden
  // attribute) and whose name would match "*.jpg".
  virtual void PutHidden(const std::string& dir) = 0;
  // Other paths of the file `dir` + `name` that name the same file on this system.
  virtual std::vector<std::string> SameFile(const std::string& dir, const std::string& name) = 0;
  // The separator of this system's paths.
  virtual char Separator() = 0;
  // The file name of this test program.
  virtual std::string ProgramName() = 0;
};

std::unique_ptr<FileSystemDriver> MakeFileSystemDriver();

}  // namespace trelvin::conformance
