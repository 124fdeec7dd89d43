#include "ElementTree.h"

#include "platform/CodePage.h"

#include <QLocale>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

ElementTree::ElementTree()
    : m_root(new ElementNode(QByteArray(), KindFolder, KindOpenFolder, ElementData())),
      m_collator(QLocale(QLocale::English, QLocale::UnitedStates))
{
    m_collator.setCaseSensitivity(Qt::CaseSensitive);
    m_collator.setNumericMode(false);
    m_collator.setIgnorePunctuation(false);
}

ElementTree::~ElementTree() = default;

int ElementTree::childCount(const ElementNode *parent) const
{
    return level(parent)->childCount();
}

ElementNode *ElementTree::childAt(const ElementNode *parent, int row) const
{
    return level(parent)->child(row);
}

ElementNode *ElementTree::nextInOrder(const ElementNode *node) const
{
    if (!node) {
        return nullptr;
    }
    if (!node->m_children.empty()) {
        return node->m_children.front().get();
    }
    for (const ElementNode *n = node; n && n != m_root.get(); n = n->m_parent) {
        if (ElementNode *next = n->nextSibling()) {
            return next;
        }
    }
    return nullptr;
}

int ElementTree::absoluteIndex(const ElementNode *node) const
{
    int index = 0;
    for (const ElementNode *n = firstRoot(); n; n = nextInOrder(n), ++index) {
        if (n == node) {
            return index;
        }
    }
    return -1;
}

ElementNode *ElementTree::nodeAt(int absoluteIndex) const
{
    if (absoluteIndex < 0 || absoluteIndex >= m_count) {
        return nullptr;
    }
    ElementNode *n = firstRoot();
    for (int i = 0; n && i < absoluteIndex; ++i) {
        n = nextInOrder(n);
    }
    return n;
}

QList<QByteArray> ElementTree::pathOf(const ElementNode *node) const
{
    QList<QByteArray> names;
    for (const ElementNode *n = node; n && n != m_root.get(); n = n->m_parent) {
        names.prepend(n->m_name);
    }
    return names;
}

int ElementTree::depthOf(const ElementNode *node)
{
    int depth = 0;
    for (const ElementNode *n = node; n; n = n->parent()) {
        ++depth;
    }
    return depth;
}

int ElementTree::heightOf(const ElementNode *node) const
{
    const ElementNode *top = node ? node : m_root.get();
    // Walked in pre-order without recursion: a hostile tree may be deep.
    int height = 0;
    int depth = 1;
    const ElementNode *n = top;
    for (;;) {
        height = std::max(height, depth);
        if (!n->m_children.empty()) {
            n = n->m_children.front().get();
            ++depth;
            continue;
        }
        while (n != top && !n->nextSibling()) {
            n = n->m_parent;
            --depth;
        }
        if (n == top) {
            break;
        }
        n = n->nextSibling();
    }
    return node ? height : height - 1;
}

ElementNode *ElementTree::findChild(const ElementNode *parent, QByteArrayView name) const
{
    return level(parent)->m_childIndex.first(name);
}

ElementNode *ElementTree::findPath(const QList<QByteArray> &names) const
{
    ElementNode *node = nullptr;
    for (const QByteArray &name : names) {
        node = findChild(node ? node : m_root.get(), name);
        if (!node) {
            return nullptr;
        }
    }
    return node;
}

ElementNode *ElementTree::findSibling(const ElementNode *start, QByteArrayView name, std::optional<qint32> kind) const
{
    if (!start) {
        return nullptr;
    }
    const NameIndex &index = start->m_parent->m_childIndex;
    return kind ? index.nearest(name, start->m_row, *kind) : index.nearest(name, start->m_row);
}

bool ElementTree::nameTaken(const ElementNode *levelNode, QByteArrayView name, const ElementNode *self,
                            bool excludeSelf) const
{
    return levelNode->m_childIndex.containsOther(name, excludeSelf ? self : nullptr);
}

QByteArray ElementTree::uniqueNameAmong(const ElementNode *levelNode, const QByteArray &base, const ElementNode *self,
                                        bool excludeSelf) const
{
    QByteArray candidate = base;
    for (qint64 counter = 0; nameTaken(levelNode, candidate, self, excludeSelf); ++counter) {
        candidate = base + QByteArray::number(counter);
    }
    return candidate;
}

QByteArray ElementTree::makeUniqueName(const ElementNode *node, bool excludeSelf) const
{
    if (!node) {
        return {};
    }
    return uniqueNameAmong(node->m_parent, node->m_name, node, excludeSelf);
}

QByteArray ElementTree::uniqueNameIn(const ElementNode *parent, const QByteArray &base) const
{
    return uniqueNameAmong(level(parent), base, nullptr, false);
}

bool ElementTree::hasNameClash(const ElementNode *node) const
{
    return node && nameTaken(node->m_parent, node->m_name, node, true);
}

bool ElementTree::nameTakenBySibling(const ElementNode *node, QByteArrayView name) const
{
    return node && nameTaken(node->m_parent, name, node, true);
}

namespace {

// Primary weight of the characters whose collation is simple: space, then digits, then
// letters regardless of case; 0 for every other byte.
constexpr std::array<quint8, 256> makePlainWeights()
{
    std::array<quint8, 256> weights{};
    weights[' '] = 1;
    for (int i = 0; i < 10; ++i) {
        weights['0' + i] = quint8(2 + i);
    }
    for (int i = 0; i < 26; ++i) {
        weights['a' + i] = quint8(12 + i);
        weights['A' + i] = quint8(12 + i);
    }
    return weights;
}

constexpr std::array<quint8, 256> kPlainWeights = makePlainWeights();

// The collation's verdict for names whose bytes up to the deciding place are letters,
// digits and spaces (most names), without asking the collator: letters compare without
// regard to case first, and only names equal that way are ordered by case, lowercase
// first, at the first place they differ. Such characters carry one weight each and the
// code page has no combining marks, so nothing after a difference can change it. False
// when another byte comes first.
bool comparePlainNames(QByteArrayView a, QByteArrayView b, int &result)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const int wa = kPlainWeights[static_cast<unsigned char>(a[i])];
        const int wb = kPlainWeights[static_cast<unsigned char>(b[i])];
        if (wa == 0 || wb == 0) {
            return false;
        }
        if (wa != wb) {
            result = wa - wb;
            return true;
        }
    }
    // A longer name sorts later when what it adds has weight of its own.
    const QByteArrayView rest = a.size() > b.size() ? a.sliced(common) : b.sliced(common);
    for (const char c : rest) {
        if (kPlainWeights[static_cast<unsigned char>(c)] == 0) {
            return false;
        }
    }
    if (a.size() != b.size()) {
        result = a.size() < b.size() ? -1 : 1;
        return true;
    }
    for (qsizetype i = 0; i < common; ++i) {
        if (a[i] != b[i]) {
            // Same letter, other case: the lowercase one (the larger byte) comes first.
            result = a[i] > b[i] ? -1 : 1;
            return true;
        }
    }
    result = 0;
    return true;
}

} // namespace

int ElementTree::compareNames(QByteArrayView a, QByteArrayView b) const
{
    int plain = 0;
    if (comparePlainNames(a, b, plain)) {
        return plain;
    }
    if (a == b) {
        return 0;
    }
    // The names as the code page's text, converted on the stack: sorting a big level
    // compares many names, and none of them needs a string of its own.
    QVarLengthArray<QChar, 64> textA(a.size());
    QVarLengthArray<QChar, 64> textB(b.size());
    for (qsizetype i = 0; i < a.size(); ++i) {
        textA[i] = CodePage::toUnicode(static_cast<unsigned char>(a[i]));
    }
    for (qsizetype i = 0; i < b.size(); ++i) {
        textB[i] = CodePage::toUnicode(static_cast<unsigned char>(b[i]));
    }
    const int collated = m_collator.compare(QStringView(textA.data(), textA.size()), QStringView(textB.data(), textB.size()));
    if (collated != 0) {
        return collated;
    }
    // The collation ignores some characters (controls, for one); bytes decide then.
    const qsizetype common = std::min(a.size(), b.size());
    const int bytes = common == 0 ? 0 : std::memcmp(a.data(), b.data(), size_t(common));
    if (bytes != 0) {
        return bytes;
    }
    return a.size() < b.size() ? -1 : 1;
}

const ElementNode *ElementTree::observedParent(const ElementNode *levelNode) const
{
    return levelNode == m_root.get() ? nullptr : levelNode;
}

// Where name goes among the children of levelNode, leaving self (if it is one of them)
// out of the count: after every sibling that sorts before it or equal to it.
int ElementTree::sortedPosition(const ElementNode *levelNode, QByteArrayView name, const ElementNode *self) const
{
    const auto &children = levelNode->m_children;
    const int skip = self && self->m_parent == levelNode ? self->m_row : -1;
    auto at = [&](int i) { return children[size_t(skip >= 0 && i >= skip ? i + 1 : i)].get(); };
    int lo = 0;
    int hi = int(children.size()) - (skip >= 0 ? 1 : 0);
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (compareNames(name, at(mid)->m_name) < 0) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return lo;
}

void ElementTree::renumber(ElementNode *levelNode, int from)
{
    auto &children = levelNode->m_children;
    for (size_t i = size_t(std::max(0, from)); i < children.size(); ++i) {
        children[i]->m_row = int(i);
    }
}

ElementNode *ElementTree::insertElement(ElementNode *parent, QByteArray name, qint32 kind, qint32 selected,
                                        ElementData data)
{
    return insertDetached(parent, makeDetached(std::move(name), kind, selected, std::move(data)));
}

std::unique_ptr<ElementNode> ElementTree::makeDetached(QByteArray name, qint32 kind, qint32 selected,
                                                       ElementData data)
{
    return std::unique_ptr<ElementNode>(new ElementNode(std::move(name), kind, selected, std::move(data)));
}

ElementNode *ElementTree::insertDetached(ElementNode *parent, std::unique_ptr<ElementNode> node)
{
    ElementNode *levelNode = level(parent);
    auto &children = levelNode->m_children;
    ElementNode *raw = node.get();
    raw->m_parent = levelNode;
    const int position = m_sorted ? sortedPosition(levelNode, raw->m_name, nullptr) : int(children.size());
    // Everything that can fail happens before the tree changes.
    if (children.size() == children.capacity()) {
        children.reserve(std::max<size_t>(4, children.size() * 2));
    }
    if (!m_sorted) {
        markUnsorted(levelNode);
    }
    if (!m_sorted && !children.empty()) {
        // Each append is compared with the child before it while both are fresh in the
        // cache; sorting later need not compare again when every step went one way.
        const int step = compareNames(children.back()->m_name, raw->m_name);
        levelNode->m_appendSteps |=
            step < 0 ? ElementNode::StepsUp : (step > 0 ? ElementNode::StepsDown : ElementNode::StepsEqual);
    }
    // The index places it among its same-named siblings by the row it is about to take.
    raw->m_row = position;
    levelNode->m_childIndex.insert(raw);
    if (m_observer) {
        m_observer->elementAboutToBeInserted(observedParent(levelNode), position);
    }
    children.insert(children.begin() + position, std::move(node));
    renumber(levelNode, position);
    m_count += raw->m_children.empty() ? 1 : subtreeSize(raw);
    if (m_observer) {
        m_observer->elementInserted(raw);
    }
    return raw;
}

ElementNode *ElementTree::addElement(NewElement what, ElementNode *selected, QByteArray name, ElementData data)
{
    qint32 kind = KindFolder;
    switch (what) {
    case NewElement::Key: kind = KindKey; break;
    case NewElement::Entry: kind = KindEntry; break;
    case NewElement::Table: kind = KindTable; break;
    case NewElement::File: kind = KindFile; break;
    case NewElement::Subfolder:
    case NewElement::Folder: kind = KindFolder; break;
    }
    ElementNode *parent = nullptr;
    if (what == NewElement::Folder || (selected && !selected->isFolder())) {
        parent = selected ? selected->parent() : nullptr;
    } else {
        parent = selected;
    }
    name.replace("<>", "<_>");
    QByteArray unique = uniqueNameAmong(level(parent), name, nullptr, true);
    return insertElement(parent, std::move(unique), kind, selectedCodeFor(kind), std::move(data));
}

bool ElementTree::rename(ElementNode *node, QByteArray name)
{
    if (!node || !nameCanBeStored(name) || nameTakenBySibling(node, name)) {
        return false;
    }
    setName(node, std::move(name));
    return true;
}

bool ElementTree::nameCanBeStored(QByteArrayView name)
{
    return !name.contains(QByteArrayView("<>"));
}

void ElementTree::setName(ElementNode *node, QByteArray name)
{
    if (!node || node->m_name == name) {
        return;
    }
    ElementNode *levelNode = node->m_parent;
    // The index finds the entry by the old name: it goes out before the name changes.
    levelNode->m_childIndex.erase(node);
    node->m_name = std::move(name);
    if (m_observer) {
        m_observer->elementChanged(node);
    }
    if (m_sorted) {
        placeAfterRename(node);
    } else {
        markUnsorted(levelNode);
        levelNode->m_appendSteps = ElementNode::StepsUp | ElementNode::StepsDown;
    }
    // Back in the index once it stands at its new place.
    levelNode->m_childIndex.insert(node);
}

void ElementTree::placeAfterRename(ElementNode *node)
{
    ElementNode *levelNode = node->m_parent;
    const int from = node->m_row;
    const int to = sortedPosition(levelNode, node->m_name, node);
    if (to == from) {
        return;
    }
    if (m_observer) {
        m_observer->childrenAboutToBeReordered(observedParent(levelNode));
    }
    auto &children = levelNode->m_children;
    std::unique_ptr<ElementNode> moving = std::move(children[size_t(from)]);
    children.erase(children.begin() + from);
    children.insert(children.begin() + to, std::move(moving));
    renumber(levelNode, std::min(from, to));
    if (m_observer) {
        m_observer->childrenReordered(observedParent(levelNode));
    }
}

void ElementTree::setCodes(ElementNode *node, qint32 kind, qint32 selected)
{
    if (!node) {
        return;
    }
    const qint32 oldKind = std::exchange(node->m_kind, kind);
    node->m_selected = selected;
    node->m_parent->m_childIndex.kindChanged(node, oldKind);
    notifyChanged(node);
}

void ElementTree::replaceData(ElementNode *node, ElementData data)
{
    if (!node) {
        return;
    }
    node->m_data = std::move(data);
    notifyChanged(node);
}

void ElementTree::notifyChanged(const ElementNode *node)
{
    if (m_observer && node) {
        m_observer->elementChanged(node);
    }
}

int ElementTree::subtreeSize(const ElementNode *node) const
{
    int size = 0;
    std::vector<const ElementNode *> pending{node};
    while (!pending.empty()) {
        const ElementNode *n = pending.back();
        pending.pop_back();
        ++size;
        for (const auto &child : n->m_children) {
            pending.push_back(child.get());
        }
    }
    return size;
}

ElementNode *ElementTree::moveElement(ElementNode *node, ElementNode *parent, QByteArray name)
{
    std::unique_ptr<ElementNode> moving = detach(node);
    if (!moving) {
        return nullptr;
    }
    moving->m_name = std::move(name);
    return insertDetached(parent, std::move(moving));
}

bool ElementTree::deleteSubtree(ElementNode *node)
{
    return detach(node) != nullptr;
}

std::unique_ptr<ElementNode> ElementTree::detach(ElementNode *node)
{
    if (!node || node == m_root.get()) {
        return nullptr;
    }
    ElementNode *levelNode = node->m_parent;
    const int row = node->m_row;
    if (m_observer) {
        m_observer->elementAboutToBeRemoved(node);
    }
    if (!m_sorted && !m_unsortedLevels.empty()) {
        m_unsortedLevelsComplete = false;
    }
    // The descendants' indexes go with their parents; only the node leaves an index.
    const int removed = subtreeSize(node);
    levelNode->m_childIndex.erase(node);
    auto &children = levelNode->m_children;
    std::unique_ptr<ElementNode> owned = std::move(children[size_t(row)]);
    children.erase(children.begin() + row);
    renumber(levelNode, row);
    m_count -= removed;
    owned->m_parent = nullptr;
    if (m_observer) {
        m_observer->elementRemoved(observedParent(levelNode), row);
    }
    return owned;
}

bool ElementTree::clearTree()
{
    if (m_observer) {
        m_observer->treeAboutToBeReset();
    }
    m_root->m_childIndex.clear();
    m_root->m_children.clear();
    m_root->m_childrenUnsorted = false;
    m_root->m_appendSteps = 0;
    m_unsortedLevels.clear();
    m_unsortedLevelsComplete = true;
    m_count = 0;
    if (m_observer) {
        m_observer->treeReset();
    }
    return true;
}

void ElementTree::markUnsorted(ElementNode *levelNode)
{
    if (!levelNode->m_childrenUnsorted) {
        levelNode->m_childrenUnsorted = true;
        // Children there before sorting was turned off are in order.
        levelNode->m_appendSteps = levelNode->m_children.size() >= 2 ? ElementNode::StepsUp : 0;
        levelNode->m_appendedFrom = int(levelNode->m_children.size());
        m_unsortedLevels.push_back(levelNode);
    }
}

void ElementTree::setSorted(bool sorted)
{
    const bool resume = sorted && !m_sorted;
    m_sorted = sorted;
    if (!resume) {
        return;
    }
    if (m_unsortedLevelsComplete) {
        for (ElementNode *levelNode : m_unsortedLevels) {
            sortLevel(levelNode);
        }
    } else {
        // Elements were deleted meanwhile, and the list may name some of them: walk the tree.
        if (m_root->m_childrenUnsorted) {
            sortLevel(m_root.get());
        }
        for (ElementNode *n = firstRoot(); n; n = nextInOrder(n)) {
            if (n->m_childrenUnsorted) {
                sortLevel(n);
            }
        }
    }
    m_unsortedLevels.clear();
    m_unsortedLevelsComplete = true;
}

void ElementTree::sortLevel(ElementNode *levelNode)
{
    const quint8 steps = levelNode->m_appendSteps;
    auto &children = levelNode->m_children;
    const size_t appendedFrom = std::min(size_t(std::max(0, levelNode->m_appendedFrom)), children.size());
    levelNode->m_childrenUnsorted = false;
    levelNode->m_appendSteps = 0;
    // Only upward steps: in order already.
    if ((steps & (ElementNode::StepsDown | ElementNode::StepsEqual)) == 0 || children.size() < 2) {
        return;
    }
    if (m_observer) {
        m_observer->childrenAboutToBeReordered(observedParent(levelNode));
    }
    // Siblings of one name (a damaged file holds such) that were appended meanwhile come
    // after those that were there, in the reverse of the order they were appended: an
    // import appends the rows of a file last to first, so they keep the file's order, and
    // an unchanged tree saves the same bytes every time.
    const bool onlyDown = (steps & ElementNode::StepsUp) == 0;
    if (onlyDown && ((steps & ElementNode::StepsEqual) == 0 || appendedFrom == 0)) {
        // An import appends each level in reverse: reversing suffices.
        std::reverse(children.begin(), children.end());
    } else {
        std::reverse(children.begin() + qsizetype(appendedFrom), children.end());
        std::stable_sort(children.begin(), children.end(), [this](const auto &a, const auto &b) {
            return compareNames(a->m_name, b->m_name) < 0;
        });
    }
    renumber(levelNode, 0);
    levelNode->m_childIndex.reorder();
    if (m_observer) {
        m_observer->childrenReordered(observedParent(levelNode));
    }
}

void ElementTree::swapContent(ElementTree &other)
{
    if (&other == this) {
        return;
    }
    if (m_observer) {
        m_observer->treeAboutToBeReset();
    }
    if (other.m_observer) {
        other.m_observer->treeAboutToBeReset();
    }
    std::swap(m_root, other.m_root);
    std::swap(m_count, other.m_count);
    std::swap(m_sorted, other.m_sorted);
    std::swap(m_unsortedLevels, other.m_unsortedLevels);
    std::swap(m_unsortedLevelsComplete, other.m_unsortedLevelsComplete);
    if (m_observer) {
        m_observer->treeReset();
    }
    if (other.m_observer) {
        other.m_observer->treeReset();
    }
}
