#include "calculators/core/keyfilter.h"

namespace ordalvex {

std::optional<QChar> filterTypedCharacter(QChar typed, KeyFilter filter) {
    if (typed == u'\b')
        return typed;
    if (filter != KeyFilter::Digits && typed == u',')
        typed = u'.';
    const bool digit = typed >= u'0' && typed <= u'9';
    switch (filter) {
    case KeyFilter::Digits:
        return digit ? std::optional(typed) : std::nullopt;
    case KeyFilter::Decimal:
        return digit || typed == u'.' ? std::optional(typed) : std::nullopt;
    case KeyFilter::Fraction:
        return typed >= u'.' && typed <= u'9' ? std::optional(typed) : std::nullopt;
    }
    return std::nullopt;
}

} // namespace ordalvex
