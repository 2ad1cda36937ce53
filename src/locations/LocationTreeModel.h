#pragma once

#include <memory>

class QStandardItemModel;

namespace cirrolux {

// The location tree as the choose-location dialog shows it: one read-only item per node, in
// stored order, the root "Continent" the only top-level row. Texts are converted from Latin-1.
// The caller owns the model.
std::unique_ptr<QStandardItemModel> BuildLocationTreeModel();

} // namespace cirrolux
