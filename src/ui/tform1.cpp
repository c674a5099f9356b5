#include "tform1.h"

#include "core/bands.h"
#include "core/logsession.h"
#include "core/modes.h"
#include "entry/entryclock.h"
#include "entry/workedbefore.h"
#include "helpfile.h"
#include "lookup/entryfieldhops.h"
#include "platform/clock.h"
#include "platform/userdialogs.h"
#include "settings/inifile.h"
#include "tfmaster.h"
#include "tform8.h"
#include "ui_tform1.h"
#include "widgetdialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QValidator>

namespace {

// The entry fields hold upper-case text; some characters are never inserted (a blank, "+", the backquote).
class EntryFieldValidator final : public QValidator {
public:
    EntryFieldValidator(QString refused, QObject* parent) : QValidator(parent), m_refused(std::move(refused)) {}
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

const QString kRefusedInCallsign = QStringLiteral(" +`");
const QString kRefusedInExchange = QStringLiteral(" +`");
const QString kRefusedInFixed = QStringLiteral(" `");
const QString kRefusedInSerial = QStringLiteral("`");

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TForm1::TForm1(LogSession& session, QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::TForm1>()), m_session(session), m_entry(session) {
    m_ui->setupUi(this);
    m_form8 = new TForm8(this);
    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(500);

    m_ui->Edit4->setValidator(new EntryFieldValidator(kRefusedInCallsign, this));
    m_ui->Edit6->setValidator(new EntryFieldValidator(kRefusedInExchange, this));
    m_ui->Edit8->setValidator(new EntryFieldValidator(kRefusedInSerial, this));
    m_ui->Edit9->setValidator(new EntryFieldValidator(kRefusedInFixed, this));
    for (QWidget* w :
         {static_cast<QWidget*>(m_ui->Edit4), static_cast<QWidget*>(m_ui->Edit5), static_cast<QWidget*>(m_ui->Edit6),
          static_cast<QWidget*>(m_ui->Edit7), static_cast<QWidget*>(m_ui->Edit8), static_cast<QWidget*>(m_ui->Edit9),
          static_cast<QWidget*>(m_ui->Edit2), static_cast<QWidget*>(m_ui->czas_reczny)})
        w->installEventFilter(this);

    for (QWidget* w : {static_cast<QWidget*>(m_ui->Edit2), static_cast<QWidget*>(m_ui->Edit3),
                       static_cast<QWidget*>(m_ui->DateTimePicker1), static_cast<QWidget*>(m_ui->czas_reczny)}) {
        w->setContextMenuPolicy(Qt::ActionsContextMenu);
        w->addAction(m_ui->WprowadzanieQSOwtrybieoffline1);
    }
    // The panels come and go while typing; the fields must not jump when they do.
    for (QWidget* panel : {static_cast<QWidget*>(m_ui->Panel3), static_cast<QWidget*>(m_ui->Panel2),
                           static_cast<QWidget*>(m_ui->Label12)}) {
        QSizePolicy policy = panel->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        panel->setSizePolicy(policy);
    }
    m_ui->Panel3->hide();
    m_ui->Panel2->hide();
    m_ui->Label12->hide();
    m_ui->DateTimePicker1->hide();
    m_ui->czas_reczny->hide();
    m_ui->Panel1->hide();
    m_ui->Edit5->setText(QStringLiteral("59"));
    m_ui->Edit7->setText(QStringLiteral("59"));
    m_ui->Edit8->setText(QStringLiteral("0"));
    m_ui->Edit9->setText(QStringLiteral("KO88WW"));
    setSentExchangeColour(m_sentExchangeColour);
    m_ui->LabelWersja->setText(QStringLiteral("Wersja ") + QCoreApplication::applicationVersion());
    rebuildLists();
    selectBand(QStringLiteral("80M"));
    selectMode(QStringLiteral("CW"));
    connectSignals();
}

TForm1::~TForm1() = default;

void TForm1::connectSignals() {
    connect(m_ui->Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(m_ui->Edit4, &QLineEdit::textChanged, this, &TForm1::Edit4Change);
    connect(m_ui->Edit6, &QLineEdit::textChanged, this, &TForm1::Edit6Change);
    connect(m_ui->Edit8, &QLineEdit::textEdited, this, &TForm1::Edit8Change);
    connect(m_ui->ComboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Change);
    connect(m_ui->ComboBox2, &QComboBox::activated, this, &TForm1::ComboBox2Change);
    connect(m_ui->AllBand, &QAction::triggered, this, &TForm1::AllBandClick);
    connect(m_ui->AllMode, &QAction::triggered, this, &TForm1::AllModeClick);
    connect(m_ui->JednoQSO, &QAction::triggered, this, &TForm1::JednoQSOClick);
    connect(m_ui->BezGrupy, &QAction::triggered, this, &TForm1::BezGrupyClick);
    connect(m_ui->Osobnenumery, &QAction::triggered, this, &TForm1::OsobnenumeryClick);
    connect(m_ui->CheckBox1, &QCheckBox::clicked, this, &TForm1::CheckBox1Click);
    connect(m_ui->Pokazzalogowane, &QAction::triggered, this, &TForm1::PokazzalogowaneClick);
    connect(m_ui->WprowadzanieQSOwtrybieoffline1, &QAction::triggered, this,
            &TForm1::WprowadzanieQSOwtrybieoffline1Click);
    connect(m_ui->Panel1, &QPushButton::clicked, this, &TForm1::Panel1Click);
    connect(m_ui->Koniec1, &QAction::triggered, this, &TForm1::Koniec1Click);
    connect(m_ui->Oprogramie1, &QAction::triggered, this, &TForm1::Oprogramie1Click);
    connect(m_ui->Plikpomocy1, &QAction::triggered, this, &TForm1::Plikpomocy1Click);
    connect(m_timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(m_form8, &TForm8::returnToCallsign, this, &TForm1::focusCallsign);
    // Opening a band or mode list hides the cross-mode panel.
    for (QComboBox* box : {m_ui->ComboBox1, m_ui->ComboBox2}) {
        box->installEventFilter(this);
    }
}

bool TForm1::startUp() {
    m_starting = true;
    m_timer1->start();
    // Before the first tick the fields show the local date and time.
    const QDateTime shown = m_session.clock().now();
    showClock(shown);
    if (m_entry.start(shown) == EntrySession::Start::CountyListMissing)
        return false;
    setWindowTitle(m_entry.isSecondCopy() ? QString::fromLatin1(EntryStartup::kSecondCopyCaption)
                                          : QStringLiteral("KVR_Log"));
    applyOptions();
    const IniFile settings(m_session.settingsPath());
    if (settings.exists()) {
        const int x = settings.readInteger(QStringLiteral("Program"), QStringLiteral("X"), this->x());
        const int y = settings.readInteger(QStringLiteral("Program"), QStringLiteral("Y"), this->y());
        move(x, y);
    }
    m_ui->Pokazzalogowane->setChecked(settings.readBool(QStringLiteral("Widok"), QStringLiteral("Zalogowane"), false));
    Timer1Timer();
    m_starting = false;
    if (m_ui->Pokazzalogowane->isChecked())
        m_form8->show();
    focusCallsign();
    return true;
}

void TForm1::applyOptions() {
    // A copy: rebuilding the lists writes the selection back into the options.
    const EntryOptions o = m_entry.options();
    m_ui->AllBand->setChecked(o.warcBands);
    m_ui->AllMode->setChecked(o.digitalModes);
    m_ui->JednoQSO->setChecked(o.oneQsoPerBand);
    m_ui->BezGrupy->setChecked(o.withoutExchange);
    m_ui->Osobnenumery->setChecked(o.separateVhfSerials);
    m_ui->CheckBox1->setChecked(o.autoIncrement);
    m_ui->Edit8->setText(o.stx);
    m_ui->Edit9->setText(o.stxFixed);
    rebuildLists();
    // The saved band is only selected: a band change here would switch an analysis the operator turned off
    // back on for a VHF band, and replace the saved serial. The saved mode runs the mode change.
    selectBand(o.band);
    emit bandChanged(m_session.band);
    selectMode(o.mode);
    ComboBox2Change();
}

void TForm1::setKeyerHooks(KeyerHooks* hooks) {
    m_keyer = hooks ? hooks : &m_nullKeyer;
    // The keyer's keys (Esc, F12, the buffer keys) work wherever the focus is in the window, the outgoing
    // text field of the keyer area included.
    QList<QWidget*> others = m_ui->keyerArea->findChildren<QWidget*>();
    others << m_ui->CheckBox1 << m_ui->Button4;
    for (QWidget* w : others)
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
}

QAction* TForm1::menuAction(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

QWidget* TForm1::keyerArea() const {
    return m_ui->keyerArea;
}

bool TForm1::isOffline() const {
    return m_ui->Panel1->isVisibleTo(this);
}

void TForm1::focusCallsign() {
    activateWindow();
    m_ui->Edit4->setFocus();
}

// ---- Lists, band and mode

void TForm1::rebuildLists() {
    const SelectorList bands =
        bandSelector(m_entry.options().warcBands,
                     m_ui->ComboBox1->currentText().isEmpty() ? m_session.band : m_ui->ComboBox1->currentText());
    const SelectorList modes =
        modeSelector(m_entry.options().digitalModes,
                     m_ui->ComboBox2->currentText().isEmpty() ? m_session.mode : m_ui->ComboBox2->currentText());
    const QSignalBlocker blockBands(m_ui->ComboBox1);
    const QSignalBlocker blockModes(m_ui->ComboBox2);
    m_ui->ComboBox1->clear();
    m_ui->ComboBox1->addItems(bands.items);
    m_ui->ComboBox2->clear();
    m_ui->ComboBox2->addItems(modes.items);
    selectBand(bands.selected);
    selectMode(modes.selected);
}

void TForm1::selectBand(const QString& band) {
    const int at = m_ui->ComboBox1->findText(band);
    m_ui->ComboBox1->setCurrentIndex(at < 0 ? 0 : at);
    m_session.band = m_ui->ComboBox1->currentText();
    m_entry.options().band = m_session.band;
}

void TForm1::selectMode(const QString& mode) {
    const int at = m_ui->ComboBox2->findText(mode);
    m_ui->ComboBox2->setCurrentIndex(at < 0 ? 0 : at);
    m_session.mode = m_ui->ComboBox2->currentText();
    m_entry.options().mode = m_session.mode;
}

void TForm1::ComboBox1Change() {
    const EntrySession::BandChange change = m_entry.changeBand(m_ui->ComboBox1->currentText(), m_ui->Edit8->text());
    if (change.analysis.sentFixedPart)
        m_ui->Edit9->setText(*change.analysis.sentFixedPart);
    if (change.analysis.countiesWindowVisible)
        emit countiesWindowRequested(*change.analysis.countiesWindowVisible);
    workedBeforeCheck();
    updateSuggestions();
    if (!m_starting)
        focusCallsign();
    m_ui->Edit8->setText(change.serial);
    emit bandChanged(m_session.band);
}

void TForm1::ComboBox2Change() {
    const QString mode = m_ui->ComboBox2->currentText();
    m_ui->Edit5->setText(Modes::defaultReport(mode, m_ui->Edit5->text(), Modes::ReportReset::ModeChange));
    m_ui->Edit7->setText(Modes::defaultReport(mode, m_ui->Edit7->text(), Modes::ReportReset::ModeChange));
    m_entry.changeMode(mode);
    workedBeforeCheck();
    updateSuggestions();
    if (!m_starting)
        focusCallsign();
    emit modeChanged(mode);
}

void TForm1::AllBandClick() {
    m_entry.options().warcBands = m_ui->AllBand->isChecked();
    rebuildLists();
}

void TForm1::AllModeClick() {
    m_entry.options().digitalModes = m_ui->AllMode->isChecked();
    rebuildLists();
}

void TForm1::JednoQSOClick() {
    m_entry.setOneQsoPerBand(m_ui->JednoQSO->isChecked());
    workedBeforeCheck();
}

void TForm1::BezGrupyClick() {
    m_entry.options().withoutExchange = m_ui->BezGrupy->isChecked();
}

void TForm1::OsobnenumeryClick() {
    m_entry.options().separateVhfSerials = m_ui->Osobnenumery->isChecked();
}

// ---- Callsign and exchange

void TForm1::workedBeforeCheck() {
    const WorkedBeforeResult result = m_entry.checkCall(m_ui->Edit4->text());
    if (result.dupe) {
        m_ui->Panel3->setText(result.panelText);
        m_ui->Panel3->show();
        QApplication::beep();
    } else {
        m_ui->Panel3->hide();
    }
}

void TForm1::updateSuggestions() {
    if (!m_ui->Pokazzalogowane->isChecked())
        return;
    m_form8->setCalls(m_entry.loggedCallSuggestions(m_ui->Edit4->text()));
}

void TForm1::setCallsignColour() {
    const bool command = classifyCommand(m_ui->Edit4->text(), Bands::selectorList(m_entry.options().warcBands),
                                         Modes::selectorList(m_entry.options().digitalModes)) != EntryCommand::None;
    QPalette palette = m_ui->Edit4->palette();
    palette.setColor(QPalette::Text, command ? QColor(0xFF, 0x00, 0xFF) : QColor(0x00, 0x00, 0x80));
    m_ui->Edit4->setPalette(palette);
}

void TForm1::Edit4Change() {
    m_keyer->callsignChanged(m_ui->Edit4->text());
    workedBeforeCheck();
    setCallsignColour();
    emit callsignChanged(m_ui->Edit4->text());
    updateSuggestions();
}

void TForm1::Edit4Exit() {
    const auto exchange = m_entry.crossModeExchange(m_ui->Edit4->text());
    m_ui->Panel2->setText(exchange.value_or(QString()));
    m_ui->Panel2->setVisible(exchange.has_value());
}

void TForm1::Edit6Exit() {
    QString text = m_ui->Edit6->text();
    if (text.contains(QLatin1Char(' ')))
        m_ui->Edit6->setText(text.remove(QLatin1Char(' ')));
    m_ui->Panel2->hide();
}

void TForm1::Edit6Change() {
    const AnalysisOptions& analysis = m_session.analysis;
    if (m_starting || !analysis.enabled || analysis.mode != AnalysisMode::Locator)
        return;
    const auto label = azimuthLabel(m_session.operatorData.locator, m_ui->Edit6->text());
    m_ui->Label12->setText(label.value_or(m_ui->Label12->text()));
    m_ui->Label12->setVisible(label.has_value());
}

void TForm1::Edit8Change() {
    const QString text = m_ui->Edit8->text();
    if (m_ui->CheckBox1->isChecked() && !text.isEmpty() && !SerialNumber::isDigitsOnly(text)) {
        m_ui->CheckBox1->setChecked(false);
        m_entry.options().autoIncrement = false;
    }
}

void TForm1::CheckBox1Click() {
    if (m_ui->CheckBox1->isChecked() && !SerialNumber::isDigitsOnly(m_ui->Edit8->text().trimmed())) {
        m_session.dialogs().error(QStringLiteral(
            "Aby uaktywnić funkcję ZWIĘKSZ AUTOMATYCZNIE, w polu NADAWANA GRUPA KONTROLNA\nmogą znajdować się "
            "wyłącznie cyfry!\nJeśli grupą kontrolną jest kolejny numer QSO, wprowadź w to pole numer nadany przy "
            "aktualnej łączności (lub 001)\ni włącz funkcję ponownie.\nJeśli grupa ma zawierać dodatkowo \"PW\" lub "
            "\"WM\", ustaw to w oknie \"Zmiana danych\"."));
        m_ui->CheckBox1->setChecked(false);
        m_ui->Edit8->setFocus();
    }
    m_entry.options().autoIncrement = m_ui->CheckBox1->isChecked();
}

void TForm1::Edit4Enter() {
    const QString text = m_ui->Edit4->text();
    const QStringList bands = Bands::selectorList(m_entry.options().warcBands);
    const QStringList modes = Modes::selectorList(m_entry.options().digitalModes);
    switch (classifyCommand(text, bands, modes)) {
    case EntryCommand::Band:
        m_ui->Edit4->clear();
        selectBand(text);
        ComboBox1Change();
        return;
    case EntryCommand::Mode:
        m_ui->Edit4->clear();
        selectMode(text);
        ComboBox2Change();
        return;
    case EntryCommand::Time:
        if (const auto time = EntryClock::timeCommand(text).time) {
            m_ui->czas_reczny->setText(*time);
            m_ui->Edit4->clear();
        } else {
            QApplication::beep();
        }
        return;
    case EntryCommand::Date:
        if (const auto date = EntryClock::dateCommand(text))
            m_ui->DateTimePicker1->setDate(*date);
        m_ui->Edit4->clear();
        return;
    case EntryCommand::None:
        break;
    }
    if (m_entry.options().withoutExchange) {
        Button4Click();
        return;
    }
    moveToExchange();
}

// Enter or a blank in the callsign field: on to the received exchange, pre-filled from what the log knows.
void TForm1::moveToExchange() {
    m_callCursor = m_ui->Edit4->cursorPosition();
    Edit4Exit();
    m_ui->Edit6->setFocus();
    if (m_ui->Edit6->text().isEmpty()) {
        if (const auto known = prefilledExchange(m_session.log(), m_session.analysis, m_ui->Edit4->text())) {
            m_ui->Edit6->setText(*known);
            m_ui->Edit6->setCursorPosition(0);
            m_exchangeCursor.reset();
            return;
        }
    }
    m_ui->Edit6->setCursorPosition(m_exchangeCursor.value_or(int(m_ui->Edit6->text().size())));
    m_exchangeCursor.reset();
}

void TForm1::moveToCallsign() {
    if (m_fmaster)
        m_fmaster->suggestions().setRefreshFlag(false);
    m_exchangeCursor = m_ui->Edit6->cursorPosition();
    m_ui->Edit4->setFocus();
    m_ui->Edit4->setCursorPosition(m_callCursor.value_or(int(m_ui->Edit4->text().size())));
    m_callCursor.reset();
}

EntryForm TForm1::entryFields() const {
    EntryForm form;
    form.call = m_ui->Edit4->text();
    form.srx = m_ui->Edit6->text();
    form.rstSent = m_ui->Edit5->text();
    form.rstRcvd = m_ui->Edit7->text();
    form.stx = m_ui->Edit8->text();
    form.stxFixed = m_ui->Edit9->text();
    form.date = m_ui->Edit2->text();
    form.time = m_ui->Edit3->text();
    if (isOffline())
        form.offline = EntryClock::ManualTime{m_ui->DateTimePicker1->date(), m_ui->czas_reczny->text()};
    return form;
}

void TForm1::setSerialField(const QString& serial) {
    m_ui->Edit8->setText(serial);
}

void TForm1::setSentFixedPart(const QString& text) {
    m_ui->Edit9->setText(text);
}

void TForm1::setSentExchangeColour(int colour) {
    m_sentExchangeColour = colour;
    QPalette palette = m_ui->Edit8->palette();
    palette.setColor(QPalette::Base, colourFromWindows(colour));
    m_ui->Edit8->setPalette(palette);
}

QString TForm1::shownDate() const {
    return m_ui->Edit2->text();
}

bool TForm1::autoIncrement() const {
    return m_ui->CheckBox1->isChecked();
}

void TForm1::takeSuggestion(const QString& call) {
    m_ui->Edit4->setText(call);
    Edit4Exit();
    const EntryFieldHops::Click click =
        EntryFieldHops::suggestionChosen(call, m_ui->Edit6->text(), m_session.analysis, m_session.log().workedCalls());
    if (click.focus == EntryFieldHops::ClickFocus::SuggestionList)
        return;
    if (click.exchange)
        m_ui->Edit6->setText(*click.exchange);
    activateWindow();
    m_ui->Edit6->setFocus();
    m_ui->Edit6->setCursorPosition(click.exchange ? 0 : int(m_ui->Edit6->text().size()));
}

void TForm1::Button4Click() {
    m_ui->Panel2->hide();
    const EntryForm form = entryFields();
    const AddQsoResult result = m_entry.addQso(form);
    switch (result.outcome) {
    case AddQsoResult::Outcome::NothingTyped:
    case AddQsoResult::Outcome::MissingCall:
        focusCallsign();
        return;
    case AddQsoResult::Outcome::Declined:
    case AddQsoResult::Outcome::WriteFailed:
        // The contact stays in the fields, so nothing typed is lost.
        m_ui->Edit6->setFocus();
        return;
    case AddQsoResult::Outcome::Added:
        break;
    }
    if (result.offline) {
        m_ui->czas_reczny->setText(result.offline->time);
        m_ui->DateTimePicker1->setDate(result.offline->date);
    }
    m_ui->Edit8->setText(result.stx);
    m_ui->Edit4->clear();
    m_ui->Edit6->clear();
    m_callCursor.reset();
    m_exchangeCursor.reset();
    m_ui->Edit5->setText(result.rstSent);
    m_ui->Edit7->setText(result.rstRcvd);
    m_keyer->qsoLogged();
    focusCallsign();
}

// ---- Clock and offline entry

void TForm1::showClock(const QDateTime& shown) {
    m_ui->Edit3->setText(EntryClock::formatTime(shown.time()));
    m_ui->Edit2->setText(EntryClock::formatDate(shown.date()));
}

void TForm1::Timer1Timer() {
    m_keyer->clockTick();
    showClock(m_entry.utcNow());
}

void TForm1::WprowadzanieQSOwtrybieoffline1Click() {
    const QDate shownDate = QDate::fromString(m_ui->Edit2->text(), QStringLiteral("yyyy-MM-dd"));
    m_ui->DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_ui->DateTimePicker1->setDate(shownDate.isValid() ? shownDate : m_entry.utcNow().date());
    m_ui->DateTimePicker1->show();
    m_ui->czas_reczny->setText(m_ui->Edit3->text().left(6) + QStringLiteral("00"));
    m_ui->czas_reczny->show();
    m_ui->Edit2->hide();
    m_ui->Edit3->hide();
    m_ui->Panel1->show();
    m_timer1->stop();
}

void TForm1::Panel1Click() {
    m_ui->DateTimePicker1->hide();
    m_ui->czas_reczny->hide();
    m_ui->Panel1->hide();
    m_ui->Edit2->show();
    m_ui->Edit3->show();
    Timer1Timer();
    m_timer1->start();
    focusCallsign();
}

void TForm1::czas_recznyEnter() {
    m_manualTimeBefore = m_ui->czas_reczny->text();
}

void TForm1::czas_recznyExit() {
    if (EntryClock::validManualTime(m_ui->czas_reczny->text()))
        return;
    m_ui->czas_reczny->setText(m_manualTimeBefore);
    m_session.dialogs().error(QStringLiteral("Niewłaściwy format czasu!"));
    m_ui->czas_reczny->setFocus();
}

void TForm1::Edit2Exit() {
    if (const auto error = EntryClock::dateFieldError(m_ui->Edit2->text())) {
        m_session.dialogs().error(*error);
        m_ui->Edit2->setFocus();
    }
}

void TForm1::stepManualTime(int minutes) {
    const EntryClock::ManualTime moved =
        EntryClock::stepMinute({m_ui->DateTimePicker1->date(), m_ui->czas_reczny->text()}, minutes);
    m_ui->czas_reczny->setText(moved.time);
    m_ui->DateTimePicker1->setDate(moved.date);
}

// ---- Keys

bool TForm1::handleShortcut(QKeyEvent* key) {
    // A held key acts once, when it is let go.
    if (key->isAutoRepeat())
        return false;
    const Qt::KeyboardModifiers mods = key->modifiers();
    const bool alt = mods & Qt::AltModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    const int k = key->key();
    if (alt && (k == Qt::Key_F2 || k == Qt::Key_B || k == Qt::Key_F1)) {
        const QStringList bands = Bands::selectorList(m_entry.options().warcBands);
        selectBand(stepInList(bands, m_ui->ComboBox1->currentText(), k == Qt::Key_F1 ? -1 : 1));
        ComboBox1Change();
        return true;
    }
    if (alt && k == Qt::Key_M) {
        selectMode(stepInList(Modes::selectorList(m_entry.options().digitalModes), m_ui->ComboBox2->currentText(), 1));
        ComboBox2Change();
        return true;
    }
    if (ctrl && !alt && (k == Qt::Key_F2 || k == Qt::Key_F1)) {
        selectMode(stepInList(Modes::selectorList(m_entry.options().digitalModes), m_ui->ComboBox2->currentText(),
                              k == Qt::Key_F1 ? -1 : 1));
        ComboBox2Change();
        focusCallsign();
        return true;
    }
    if (k == Qt::Key_PageUp || k == Qt::Key_PageDown) {
        stepManualTime(k == Qt::Key_PageUp ? 1 : -1);
        return true;
    }
    if (k == Qt::Key_T && (alt || ctrl)) {
        m_keyer->changeSpeed(alt ? 1 : -1);
        return true;
    }
    if ((alt && k == Qt::Key_K) || (ctrl && !alt && isEnter(k))) {
        m_keyer->manualCwRequested();
        return true;
    }
    return false;
}

bool TForm1::handleReportKey(QLineEdit* field, QKeyEvent* key) {
    const int k = key->key();
    if (isEnter(k)) {
        focusNextChild();
        return true;
    }
    const QString text = key->text();
    if (text.isEmpty() || k == Qt::Key_Backspace || k == Qt::Key_Delete || k == Qt::Key_Tab)
        return false;
    const QChar ch = text.at(0).toUpper();
    if (ch.isDigit() || ch == QLatin1Char('A') || ch == QLatin1Char('S')) {
        if (text.at(0).isLower()) {
            field->insert(QString(ch));
            return true;
        }
        return false;
    }
    QApplication::beep();
    return true;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_keyer->keyPressed(key->key(), key->modifiers()))
            return true;
        const int k = key->key();
        const bool entryField = watched == m_ui->Edit4 || watched == m_ui->Edit6;
        // Shortcuts act on key release; their presses must not reach the field.
        const bool modified = key->modifiers() & (Qt::AltModifier | Qt::ControlModifier);
        const bool ctrlEnter =
            isEnter(k) && (key->modifiers() & Qt::ControlModifier) && !(key->modifiers() & Qt::AltModifier);
        const bool shortcutKey =
            ctrlEnter ||
            (modified && (k == Qt::Key_F1 || k == Qt::Key_F2 || k == Qt::Key_B || k == Qt::Key_M || k == Qt::Key_T)) ||
            ((key->modifiers() & Qt::AltModifier) && k == Qt::Key_K);
        if (entryField && (shortcutKey || k == Qt::Key_PageUp || k == Qt::Key_PageDown))
            return true;
        // The backquote is never typed into these fields: it opens the manual CW window.
        if (key->text() == QLatin1String("`") && (entryField || watched == m_ui->Edit8 || watched == m_ui->Edit9)) {
            m_keyer->manualCwRequested();
            return true;
        }
        if (watched == m_ui->Edit4) {
            if (isEnter(k)) {
                Edit4Enter();
                return true;
            }
            if (k == Qt::Key_Space && (key->modifiers() & Qt::ControlModifier) && m_fmaster) {
                EntryFieldHops hops;
                const EntryFieldHops::ToExchange move =
                    m_fmaster->CtrlSpace({m_ui->Edit4->text(), m_ui->Edit4->cursorPosition(), m_ui->Edit6->text(),
                                          m_ui->Edit6->cursorPosition()},
                                         hops);
                if (move.call)
                    m_ui->Edit4->setText(*move.call);
                if (move.exchange && m_ui->Edit6->text().isEmpty()) {
                    m_callCursor = m_ui->Edit4->cursorPosition();
                    Edit4Exit();
                    m_ui->Edit6->setText(*move.exchange);
                    m_ui->Edit6->setFocus();
                    m_ui->Edit6->setCursorPosition(0);
                    m_exchangeCursor.reset();
                    return true;
                }
                // Nothing to pre-fill: on exactly as a blank would go, to the remembered exchange position.
                moveToExchange();
                return true;
            }
            if (k == Qt::Key_Space) {
                moveToExchange();
                return true;
            }
        } else if (watched == m_ui->Edit6) {
            if (isEnter(k)) {
                Button4Click();
                return true;
            }
            if (k == Qt::Key_Space) {
                moveToCallsign();
                return true;
            }
        } else if (watched == m_ui->Edit5 || watched == m_ui->Edit7) {
            return handleReportKey(static_cast<QLineEdit*>(watched), key);
        } else if (watched == m_ui->czas_reczny) {
            if (isEnter(k) || k == Qt::Key_Home) {
                focusCallsign();
                return true;
            }
        }
    } else if (type == QEvent::KeyRelease) {
        if (watched == m_ui->Edit4 || watched == m_ui->Edit6)
            return handleShortcut(static_cast<QKeyEvent*>(event)) || QMainWindow::eventFilter(watched, event);
    } else if (type == QEvent::FocusIn) {
        if (watched == m_ui->Edit4 && !m_starting)
            Edit4Change();
        else if (watched == m_ui->czas_reczny)
            czas_recznyEnter();
    } else if (type == QEvent::FocusOut) {
        if (watched == m_ui->Edit4)
            Edit4Exit();
        else if (watched == m_ui->Edit6)
            Edit6Exit();
        else if (watched == m_ui->czas_reczny && m_ui->czas_reczny->isVisible())
            czas_recznyExit();
        else if (watched == m_ui->Edit2 && !m_ui->Edit2->isReadOnly())
            Edit2Exit();
    } else if (type == QEvent::MouseButtonPress && (watched == m_ui->ComboBox1 || watched == m_ui->ComboBox2)) {
        m_ui->Panel2->hide();
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Menu and closing

void TForm1::PokazzalogowaneClick() {
    if (m_ui->Pokazzalogowane->isChecked()) {
        m_form8->show();
        updateSuggestions();
        focusCallsign();
    } else {
        m_form8->hide();
    }
}

void TForm1::Oprogramie1Click() {
    HelpFile::about(m_session.dialogs());
}

void TForm1::Plikpomocy1Click() {
    HelpFile::open(m_session.dialogs());
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        emit activated();
        FormActivate();
    }
}

void TForm1::FormActivate() {
    // Only the first activation restores the windows around the entry window.
    if (m_activated || m_starting)
        return;
    m_activated = true;
    const IniFile settings(m_session.settingsPath());
    if (!settings.exists())
        return;
    m_form8->readSettings(settings);
    emit firstActivation(settings);
}

void TForm1::Koniec1Click() {
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    m_timer1->stop();
    emit aboutToClose();
    EntryOptions& o = m_entry.options();
    o.autoIncrement = m_ui->CheckBox1->isChecked();
    o.stx = m_ui->Edit8->text();
    o.stxFixed = m_ui->Edit9->text();
    o.band = m_ui->ComboBox1->currentText();
    o.mode = m_ui->ComboBox2->currentText();
    IniFile settings(m_session.settingsPath());
    {
        IniFile::Batch batch(settings);
        m_entry.saveSettings(settings);
        settings.writeInteger(QStringLiteral("Program"), QStringLiteral("X"), x());
        settings.writeInteger(QStringLiteral("Program"), QStringLiteral("Y"), y());
        settings.writeBool(QStringLiteral("Widok"), QStringLiteral("Zalogowane"), m_ui->Pokazzalogowane->isChecked());
        m_form8->writeSettings(settings);
        emit closing(settings);
    }
    m_form8->close();
    event->accept();
}
