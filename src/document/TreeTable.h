#pragma once

#include "Table.h"

#include <functional>

class ElementNode;
class ElementTree;

// The converter between an element tree (or one subtree) and a 10-column table with one
// row per element in absolute order. Column 0 holds the element's path: a top-level
// element (or the root of an exported subtree) its bare name, any other element the
// names of its ancestors from there down, each followed by "<>", then its own name
// followed by "<>" (Bank, Bank<>PIN<>). Its binary stream is a saved database's plaintext
// and the clipboard block of copied elements.
class TreeTable : public Table
{
public:
    enum TreeColumn {
        ColPath = 0,
        ColContent,
        ColDetail,
        ColComment,
        ColKind,
        ColSelected,
        ColBlob,     // the Blob as a stream cell, "0" without one
        ColBlobSize, // BlobSize, "0" without a Blob
        ColCreated,
        ColModified,
        TreeColumns
    };

    static constexpr char PathSeparator[] = "<>";
    static constexpr char ClipboardFormat[] = "CLIP_PASSTREE";

    // Refills the table from the whole tree, or from subtreeRoot and its descendants.
    bool exportTree(const ElementTree &tree, const ElementNode *subtreeRoot = nullptr);

    // The binary table stream of the rows exportTree would produce (the same bytes),
    // written straight from the tree without the table in between. Empty when a cell is
    // too long for the stream's 32-bit lengths.
    static QByteArray writeTreeBinary(const ElementTree &tree, const ElementNode *subtreeRoot = nullptr);
    // The same stream of the whole tree in one walk, handed over in pieces instead of one
    // buffer: handle(chunk, size) receives every chunkSize bytes and then the rest, and may
    // change them in place (there is room for chunkSize bytes at chunk). False when handle
    // refuses a piece or a cell is too long; the pieces handed over so far are then void.
    using ChunkHandler = std::function<bool(char *chunk, qsizetype size)>;
    static bool writeTreeBinary(const ElementTree &tree, qsizetype chunkSize, const ChunkHandler &handle);

    // Adds the table's rows to tree, last row first (children before their parents; a
    // missing folder on the way is created as a placeholder that its own row fills later).
    // Nested paths start their search at anchor, else at the first top-level element,
    // among it and its siblings. When the last row's first folder already exists there,
    // the import goes to a new folder named by makeUniqueName (Bank -> Bank0) and every
    // later path is renamed alike. A top-level row gives its data to a sibling of the
    // anchor with the same name and kind code unless singleRow is set; otherwise it becomes
    // a new child of the anchor (or a new top-level element).
    //
    // Turns the tree's sorting off; the caller restores the mode it had, which sorts every
    // level once. The rows' cells are moved into the tree: the table is spent afterwards.
    bool importTree(ElementTree &tree, ElementNode *anchor, bool singleRow);

    // readBinary of stream followed by importTree, reading the cells where they lie in the
    // stream instead of copying them into the table first. Accepts and refuses exactly the
    // streams readBinary does; a refused stream changes nothing.
    bool importBinaryStream(ElementTree &tree, QByteArrayView stream, ElementNode *anchor, bool singleRow);
    // The same for a stream that becomes readable front to back while the import runs (it
    // is being decrypted in another thread): readable(end) returns once at least the first
    // end bytes may be read, with the number that may.
    using Readable = std::function<qsizetype(qsizetype end)>;
    bool importBinaryStream(ElementTree &tree, QByteArrayView stream, ElementNode *anchor, bool singleRow,
                            const Readable &readable);

    // The node most recently added at the top of the last import (with an anchor or
    // singleRow), or null.
    ElementNode *lastTopNode() const { return m_lastTopNode; }
    // The last import was refused because a path names more than ElementTree::MaxDepth
    // levels (nothing was added then).
    bool tooDeep() const { return m_tooDeep; }

private:
    struct PendingRename;
    struct RowData;
    struct FolderCache;
    struct ImportState;
    class StreamRows;

    RowData takeRow(int row);
    template<typename TakeRow>
    bool importRows(ElementTree &tree, ElementNode *anchor, bool singleRow, int rows, TakeRow &&take);
    void importNested(ElementTree &tree, ElementNode *anchor, RowData &row, bool firstRow, ImportState &state);
    void importTop(ElementTree &tree, ElementNode *anchor, bool singleRow, RowData &row, ImportState &state);

    ElementNode *m_lastTopNode = nullptr;
    bool m_tooDeep = false;
};
