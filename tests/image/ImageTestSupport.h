#pragma once

// Helpers of the image tests: building pictures, reading pixels top row first, and running
// the independent decoders (Pillow, djpeg) that check the encoders.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "image/CImageBuffer.h"

namespace qv::test {

using Rgb = std::array<uint8_t, 3>;

// A 24-bit image whose pixel (x, y), y counted from the top, is colour(x, y).
void fillRgb(CImageBuffer& image, int32_t width, int32_t height,
             const std::function<Rgb(int32_t, int32_t)>& colour);

// Pixel (x, y) from the top of any image, through its palette for paletted images.
Rgb pixelAt(const CImageBuffer& image, int32_t x, int32_t y);

// A page-like picture: white, dark text-like strokes, and a photo-like gradient block.
Rgb pageColour(int32_t x, int32_t y);

// A python3 that has Pillow, or empty when there is none.
std::optional<std::string> pillowPython();

// Decodes `file` with Pillow into raw RGB bytes, top row first (empty on failure). `mode`
// receives Pillow's mode of the file as opened ("RGB", "P", "L", ...).
std::vector<uint8_t> decodeWithPillow(const std::string& python, const std::filesystem::path& file,
                                      std::string* mode = nullptr);

// Runs a shell command and answers its exit status.
int run(const std::string& command);
bool haveTool(const std::string& name);

std::vector<uint8_t> readBytes(const std::filesystem::path& file);

}  // namespace qv::test
