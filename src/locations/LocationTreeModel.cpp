#include "locations/LocationTreeModel.h"

#include "locations/LocationCatalogue.h"

#include <QStandardItemModel>

#include <vector>

namespace cirrolux {

std::unique_ptr<QStandardItemModel> BuildLocationTreeModel()
{
    auto model = std::make_unique<QStandardItemModel>();
    // parents[d] is the last item placed at depth d; pre-order means a node's parent is always
    // the last item one level up.
    std::vector<QStandardItem*> parents;
    for (const TreeNode& node : LocationTree()) {
        auto* item = new QStandardItem(
            QString::fromLatin1(node.text.data(), static_cast<qsizetype>(node.text.size())));
        item->setEditable(false);
        const auto depth = static_cast<std::size_t>(node.depth);
        if (depth == 0)
            model->invisibleRootItem()->appendRow(item);
        else
            parents[depth - 1]->appendRow(item);
        parents.resize(depth);
        parents.push_back(item);
    }
    return model;
}

} // namespace cirrolux
