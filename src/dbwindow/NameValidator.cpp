#include "NameValidator.h"

QValidator::State NameValidator::validate(QString &input, int &pos) const
{
    const State state = CodePageValidator::validate(input, pos);
    if (state != Acceptable || !input.contains(QLatin1String("<>"))) {
        return state;
    }
    emit const_cast<NameValidator *>(this)->separatorRefused(input);
    return Invalid;
}
