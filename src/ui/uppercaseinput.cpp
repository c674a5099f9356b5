#include "uppercaseinput.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

class UpperCaseValidator final : public QValidator {
public:
    UpperCaseValidator(std::function<bool(QChar)> accepted, QObject* parent)
        : QValidator(parent), m_accepted(std::move(accepted)) {}
    State validate(QString& input, int& pos) const override {
        QString out;
        out.reserve(input.size());
        int newPos = pos;
        for (int i = 0; i < input.size(); ++i) {
            const QChar upper = input[i].toUpper();
            if (!m_accepted(upper)) {
                if (i < pos)
                    --newPos;
                continue;
            }
            out += upper;
        }
        input = out;
        pos = newPos;
        return Acceptable;
    }

private:
    std::function<bool(QChar)> m_accepted;
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

void forceUpperCase(QLineEdit* edit, std::function<bool(QChar)> accepted) {
    edit->setValidator(new UpperCaseValidator(std::move(accepted), edit));
}

void acceptDigitsOnly(QLineEdit* edit) {
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
}
