#include "common/ui/limitedfield.h"

#include <QLineEdit>
#include <QSet>
#include <QValidator>

namespace ordalvex {

namespace {

// Refuses any edit that makes the text longer than the limit and longer than it was. Texts
// over the limit that the field has held since the program last showed one stay valid, so
// undo and redo can bring them back.
class TypingLimit : public QValidator {
public:
    TypingLimit(QLineEdit* field, int maxLength)
        : QValidator(field), m_maxLength(maxLength), m_lengthBefore(field->text().size()) {
        connect(field, &QLineEdit::textChanged, this, &TypingLimit::held);
    }

    State validate(QString& input, int&) const override {
        if (input.size() <= m_maxLength || input.size() <= m_lengthBefore || m_heldLong.contains(input))
            return Acceptable;
        return Invalid;
    }

    void setMaxLength(int maxLength) { m_maxLength = maxLength; }

    // The program shows `text`: it is valid however long it is, and setting it clears the
    // field's undo history, so earlier long texts can no longer come back.
    void admit(const QString& text) {
        m_heldLong.clear();
        m_lengthBefore = text.size();
    }

private:
    void held(const QString& text) {
        m_lengthBefore = text.size();
        if (text.size() > m_maxLength)
            m_heldLong.insert(text);
    }

    int m_maxLength;
    qsizetype m_lengthBefore;
    QSet<QString> m_heldLong;
};

TypingLimit* typingLimitOf(const QLineEdit* field) {
    return const_cast<TypingLimit*>(dynamic_cast<const TypingLimit*>(field->validator()));
}

// QLineEdit's own limit, which is high enough never to cut a text.
constexpr int kNoLimit = 32767;

} // namespace

void limitTyping(QLineEdit* field, int maxLength) {
    if (TypingLimit* limit = typingLimitOf(field)) {
        limit->setMaxLength(maxLength);
        return;
    }
    field->setValidator(new TypingLimit(field, maxLength));
    field->setMaxLength(kNoLimit);
}

void showWhole(QLineEdit* field, const QString& text) {
    if (!typingLimitOf(field) && text.size() > field->maxLength())
        limitTyping(field, field->maxLength());
    if (TypingLimit* limit = typingLimitOf(field))
        limit->admit(text);
    field->setText(text);
}

} // namespace ordalvex
