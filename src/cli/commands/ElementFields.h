#pragma once

#include "Command.h"

#include <QByteArray>
#include <QList>

#include <optional>

class DatabaseChange;
class ElementNode;
struct ElementData;

// The fields add and edit set: options, reading them from the command line, and putting
// them on an element. Only the fields given change.
namespace ElementFields {

QList<QCommandLineOption> options();

struct Values {
    std::optional<QByteArray> userName; // keys: Content
    std::optional<QByteArray> password; // keys: Detail
    std::optional<QByteArray> comment;  // keys: Comment
    std::optional<QByteArray> content;  // entries, folders and tables: Content
    bool any() const { return userName || password || comment || content; }
};

// The values the options give, in the code page's bytes, for an element of kind at path;
// a password from --password-prompt (asked twice on the terminal; without one, the next
// line of standard input) or --generate. Nothing, with the reason printed, when a text
// cannot be stored or a field does not belong to the kind; usage is then ExitUsage when
// the command line itself is wrong, else ExitFailure.
std::optional<Values> read(const Invocation &invocation, const DatabaseChange &change, const QString &path,
                           qint32 kind, int *status);

// Puts the values on data and stamps Modified when any is given.
void apply(const Values &values, ElementData &data);

} // namespace ElementFields
