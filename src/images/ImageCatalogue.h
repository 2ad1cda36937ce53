#pragma once

#include "images/ImageSource.h"

#include <span>
#include <string_view>

namespace cirrolux {

// The 99 pictures of the "&Images", "&Forecasts" and "&Reports" menus, in menu order.
std::span<const ImageSource> ImageCatalogue();

// The row whose menu item is named `component`; null when there is none.
const ImageSource* FindImageSource(std::string_view component);

} // namespace cirrolux
