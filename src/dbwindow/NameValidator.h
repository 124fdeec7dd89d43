#pragma once

#include "widgets/CodePageGuard.h"

// The validator of element names (the name field and the tree's in-place editor): what
// the code page cannot carry is refused as in every text field, and so is "<>", which
// separates the names of a path in the file, so such a name would not read back.
class NameValidator final : public CodePageValidator
{
    Q_OBJECT

public:
    using CodePageValidator::CodePageValidator;
    State validate(QString &input, int &pos) const override;

signals:
    // The refused name holds the separator.
    void separatorRefused(const QString &name);
};
