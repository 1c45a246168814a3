#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace trelvin::video {

// A file system path from UTF-8 text and back: the video maker's paths are UTF-8 on both systems.
std::filesystem::path PathOf(const std::string& utf8);
std::string Utf8Of(const std::filesystem::path& path);

// One capture: its file and the stamp of its name ("yyyymmddhhmmss"), with the counter a capture
// sharing its second with the one before gets ("-N", 0 without).
struct CaptureFile {
  std::string path;
  std::string stamp;
  int counter = 0;
};

// Whether `text` is a time stamp as capture names carry it: 14 digits.
bool IsStamp(const std::string& text);

// The captures of `folder` whose stamps lie between `from` and `to` (both included; an empty
// bound is open), in time order. Other files are left out. Empty when the folder cannot be read.
std::vector<CaptureFile> ListCaptures(const std::string& folder, const std::string& from,
                                      const std::string& to);

// The video's default path: FOLDER/<first>-<last>.webm, or with "-1", "-2", ... before the
// extension while that name is taken, so an earlier video is never replaced.
std::string DefaultVideoPath(const std::string& folder, const std::string& first,
                             const std::string& last);

}  // namespace trelvin::video
