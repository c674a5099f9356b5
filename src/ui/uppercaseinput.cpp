#include "uppercaseinput.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

class UpperCaseValidator final : public QValidator {
public:
    UpperCaseValidator(QString refused, QObject* parent) : QValidator(parent), m_refused(std::move(refused)) {}
    State validate(QString& input, int& pos) const override {
        QString out;
        out.reserve(input.size());
        int newPos = pos;
        for (int i = 0; i < input.size(); ++i) {
            if (m_refused.contains(input[i])) {
                if (i < pos)
                    --newPos;
                continue;
            }
            out += input[i].toUpper();
        }
        input = out;
        pos = newPos;
        return Acceptable;
    }

private:
    QString m_refused;
};

} // namespace

void forceUpperCase(QLineEdit* edit) {
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
    });
}

void forceUpperCase(QLineEdit* edit, const QString& refused) {
    edit->setValidator(new UpperCaseValidator(refused, edit));
}

void acceptDigitsOnly(QLineEdit* edit) {
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
}
