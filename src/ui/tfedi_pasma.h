#pragma once

#include "interchange/ediexport.h"

#include <QDialog>

#include <memory>
#include <vector>

class QLineEdit;
class QSpinBox;

namespace Ui {
class TFEDI_pasma;
}

// The station and claimed-score data of each band of the EDI export, one tab per band.
class TFEDI_pasma : public QDialog {
    Q_OBJECT
public:
    TFEDI_pasma(QString settingsPath, QWidget* parent = nullptr);
    ~TFEDI_pasma() override;

    // The "EDI" keys of the bands, each with the control's current value as default.
    void loadSettings();
    Edi::Settings bandSettings() const;
    // Fills the squares lists and every band's claimed score from the statistics.
    void setStatistics(const Edi::Statistics& statistics, const std::vector<QString>& log);
    void computeClaimedScores();
    Edi::ClaimedScore claimedScore(int band) const;
    Ui::TFEDI_pasma* ui() const { return m_ui.get(); }

public slots:
    void CheckBox1Click();
    void SpinEditChange(int band);  // SpinEdit_6MChange … SpinEdit_23CMChange
    void SpinEdit2Change(int band); // SpinEdit2_6MChange … SpinEdit2_23CMChange
    void Button1Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button8Click();
    void FormClose();

protected:
    void done(int result) override;

private:
    struct BandControls {
        QLineEdit *tx, *power, *rx, *antenna, *antennaHeight, *mastHeight;
        QSpinBox *multiplier, *bonus;
        class QPlainTextEdit* remarks;
        class QListWidget* squares;
        class QLabel* squaresLabel;
        std::array<QLineEdit*, 10> score; // CQSOs … CODXC
    };
    void applyPreset(int preset);
    void showScore(int band, const Edi::ClaimedScore& score);

    std::unique_ptr<Ui::TFEDI_pasma> m_ui;
    QString m_settingsPath;
    std::array<BandControls, Edi::kBandCount> m_bands{};
    Edi::Statistics m_statistics;
    std::vector<QString> m_log;
};
