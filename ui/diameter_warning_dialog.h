#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace venturon {

// The warning shown after a calculation for a port wider than the model was
// fitted to. Created once and only hidden, so "Don't warn me again" lasts until
// the program ends.
class DiameterWarningDialog : public QDialog {
    Q_OBJECT
public:
    explicit DiameterWarningDialog(QWidget* parent = nullptr);

    // Diameters above this (mm) are warned about.
    static constexpr double threshold_mm = 165;

    // "Don't warn me again": ticked means no warning.
    bool warnings_silenced() const;
    void set_warnings_silenced(bool silenced);

    // The heading and the tested range in millimetres or in inches.
    void set_metric_texts(bool metric);

protected:
    void reject() override;

private:
    QLabel *heading = nullptr, *tested_range = nullptr, *caution = nullptr, *icon = nullptr;
    QCheckBox* dont_warn_again_check = nullptr;
    QPushButton* ok_button = nullptr;
};

} // namespace venturon
