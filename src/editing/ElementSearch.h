#pragma once

#include <QByteArray>
#include <QByteArrayView>

class ElementNode;

// Find entry: the elements in the tree's display order (depth-first, each element before
// its descendants, collapsed branches included) whose name, Content or Comment contains
// the search text, or tables with a cell holding exactly the search text. Detail
// (passwords, stored file names) is never searched.
class ElementSearch
{
public:
    struct Options {
        bool down = true;
        bool matchCase = false;
    };

    // The search text in code-page bytes; without matchCase, A to Z and a to z count as
    // the same letter and no other letter is folded. An empty text matches nothing.
    class Pattern
    {
    public:
        Pattern(QByteArray text, bool matchCase);
        // Does text contain the pattern (by the case rule)?
        bool foundIn(QByteArrayView text) const;
        // Is text exactly the search text (always case-sensitive)?
        bool equals(QByteArrayView text) const { return !m_text.isEmpty() && text == m_text; }
        bool isEmpty() const { return m_text.isEmpty(); }

    private:
        QByteArray m_text;
        QByteArray m_folded; // the text with A to Z lowered, without matchCase
        bool m_matchCase;
    };

    // Opening the dialog: the next search examines the selected element itself.
    void startOver() { m_firstSearch = true; }
    bool isFirstSearch() const { return m_firstSearch; }

    // The first matching element from selected on (selected itself on the first search
    // after Begin, else the element after it, or before it when searching up), or null when
    // the end (or the beginning) is reached: no wrap-around. Clears the first-search flag.
    ElementNode *findNext(ElementNode *selected, QByteArrayView text, const Options &options);

    // Does node match? A table by its name or any stored cell (its three settings cells
    // included) equal to the text; any other element by its name, Content or Comment.
    static bool matches(const ElementNode &node, const Pattern &pattern);

    // The element before node in display order (the last descendant of its previous
    // sibling, else its parent), or null.
    static ElementNode *previousInOrder(const ElementNode *node);
    static ElementNode *nextInOrder(const ElementNode *node);

private:
    bool m_firstSearch = false;
};
