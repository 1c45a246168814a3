#include "video/command/VideoCommand.h"

#include <chrono>
#include <cstdlib>
#include <string_view>

#include "video/MakeVideo.h"

namespace trelvin::video {

namespace {

constexpr const char* kUsage =
    "Usage: trelvin-video FOLDER [--from STAMP] [--to STAMP] [--fps N] [--width W] [-o FILE]\n"
    "Makes a WebM (VP9) video of the captures in FOLDER, in time order.\n"
    "  --from STAMP, --to STAMP  only the captures from/to this time, yyyymmddhhmmss\n"
    "  --fps N                   pictures a second (default 10)\n"
    "  --width W                 a smaller width (default: the pictures' own)\n"
    "  -o FILE                   the video's file (default: FOLDER/FIRST-LAST.webm)\n"
    "  --help                    this text\n";

enum ExitStatus { kOk = 0, kFailed = 1, kUsageError = 2 };

bool ParseNumber(const std::string& text, int& value) {
  if (text.empty() || text.size() > 6) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

// Reads the arguments into `request`; false with `error` set when they cannot be used.
bool Parse(const std::vector<std::string>& args, VideoRequest& request, bool& help,
           std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      help = true;
      return true;
    }
    const bool takes_value =
        arg == "--from" || arg == "--to" || arg == "--fps" || arg == "--width" || arg == "-o";
    if (takes_value) {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return false;
      }
      const std::string& value = args[++i];
      bool ok = true;
      if (arg == "--from") request.from = value;
      if (arg == "--to") request.to = value;
      if (arg == "-o") request.output = value;
      if (arg == "--fps") ok = ParseNumber(value, request.fps) && request.fps >= 1;
      if (arg == "--width") ok = ParseNumber(value, request.width) && request.width >= 2;
      if (!ok) {
        error = "bad value for " + arg + ": " + value;
        return false;
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option: " + arg;
      return false;
    } else if (request.folder.empty()) {
      request.folder = arg;
    } else {
      error = "one folder only: " + arg;
      return false;
    }
  }
  if (request.folder.empty()) error = "no folder given (see --help)";
  return error.empty();
}

std::string Clock(double seconds) {
  const long total = static_cast<long>(seconds + 0.5);
  std::string text = std::to_string(total / 60) + ":";
  if (total % 60 < 10) text += "0";
  return text + std::to_string(total % 60);
}

}  // namespace

int RunVideoCommand(const std::vector<std::string>& args, bool terminal, std::ostream& out,
                    std::ostream& err) {
  VideoRequest request;
  bool help = false;
  std::string error;
  if (!Parse(args, request, help, error)) {
    err << "trelvin-video: " << error << "\n";
    return kUsageError;
  }
  if (help) {
    out << kUsage;
    return kOk;
  }
  const auto start = std::chrono::steady_clock::now();
  VideoProgress progress;
  if (terminal) {
    progress = [&](int done, int total) {
      const double elapsed =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      const int width = 30;
      const int filled = total > 0 ? done * width / total : width;
      err << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
          << std::string(static_cast<std::size_t>(width - filled), '.') << "] " << done << "/"
          << total << " pictures, " << Clock(elapsed / done * (total - done)) << " left "
          << std::flush;
    };
  }
  const VideoResult result = MakeVideo(request, progress, nullptr);
  if (terminal && result.frames + result.damaged > 0) err << "\n";
  if (result.status != VideoStatus::kDone) {
    err << "trelvin-video: " << DescribeFailure(result, request) << "\n";
    return kFailed;
  }
  out << result.path << ": " << result.frames << " pictures, " << result.width << "x"
      << result.height << " at " << request.fps << " a second";
  if (result.damaged > 0) out << " (" << result.damaged << " damaged passed over)";
  out << "\n";
  return kOk;
}

}  // namespace trelvin::video
