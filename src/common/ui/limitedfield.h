#pragma once

#include <QString>

class QLineEdit;

namespace ordalvex {

// Fields whose length limit holds for what the user types, not for what the program shows.
// QLineEdit's own maximum length also cuts texts set by the program, so a computed result
// longer than the limit would be shown cut off; these fields keep the limit in a validator
// instead.

// Lets the user type at most `maxLength` characters into `field`. A longer text the program
// shows stays whole; the user may shorten it but not lengthen it. Replaces any validator the
// field had.
void limitTyping(QLineEdit* field, int maxLength);

// Shows `text` in `field` whole, whatever the field's typing limit. A field limited by its
// QLineEdit maximum length is first changed over to the typing limit of limitTyping().
void showWhole(QLineEdit* field, const QString& text);

} // namespace ordalvex
