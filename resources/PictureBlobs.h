#pragma once

#include <cstddef>
#include <span>
#include <string_view>

// The PNG bytes written by cirrolux-artgen into the generated PictureBlobs.cpp.
namespace cirrolux::pictureblobs {

struct Blob
{
    std::string_view name;
    const unsigned char* png;
    std::size_t size;
};

// All drawings in the generator's order: the drawings of one name are adjacent, its nominal
// size first.
std::span<const Blob> All();

} // namespace cirrolux::pictureblobs
