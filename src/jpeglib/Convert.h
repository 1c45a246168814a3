#pragma once

#include <cstdint>
#include <string>

namespace trelvin::bmp {

// The conversion behind the library's exports, with both paths as the temporary-file writer takes
// them (SourceFile::WriterPath): 0 on success, else the exports' failure codes. Empty paths fail.
int ConvertBmpToJpeg(const std::string& bmp_path, const std::string& jpeg_path, std::int16_t level);

}  // namespace trelvin::bmp
