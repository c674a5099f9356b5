#pragma once

#include "interchange/ediexport.h"

#include <QDialog>

#include <memory>
#include <vector>

class ProgramSettings;
class QLineEdit;
class QSpinBox;

namespace Ui {
class EdiBandDataDialog;
}

// The station and claimed-score data of each band of the EDI export, one tab per band.
class EdiBandDataDialog : public QDialog {
    Q_OBJECT
public:
    EdiBandDataDialog(ProgramSettings& settings, QWidget* parent = nullptr);
    ~EdiBandDataDialog() override;

    // The "EDI" keys of the bands, each with the control's current value as default.
    void loadSettings();
    Edi::Settings bandSettings() const;
    // Fills the squares lists and every band's claimed score from the statistics.
    void setStatistics(const Edi::Statistics& statistics, std::span<const QsoRecord> log);
    void computeClaimedScores();
    Edi::ClaimedScore claimedScore(int band) const;
    Ui::EdiBandDataDialog* ui() const { return m_ui.get(); }

public slots:
    void onSquaresAsMultiplierToggled();
    void onMultiplierChanged(int band);
    void onNewSquareBonusChanged(int band);
    // The preset buttons "Próby V/U/SHF", "Zawody IARU", "SPAC" and "Letnie Zaw. UKF".
    void applySubregionalPreset();
    void applyIaruPreset();
    void applySpacPreset();
    void applySummerVhfPreset();
    // "OK".
    void confirm();
    // The band settings into "EDI", on every close.
    void saveSettings();

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

    std::unique_ptr<Ui::EdiBandDataDialog> m_ui;
    ProgramSettings& m_settings;
    std::array<BandControls, Edi::kBandCount> m_bands{};
    Edi::Statistics m_statistics;
    std::vector<QsoRecord> m_log;
};
