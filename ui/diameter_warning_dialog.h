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

    QLabel* Label1 = nullptr; // "Diameter exceeds 165 mm", follows the units
    QLabel* Label2 = nullptr; // the tested range, follows the units
    QLabel* Label3 = nullptr;
    QLabel* Picture1 = nullptr;
    QCheckBox* Check1 = nullptr; // "Don't warn me again"
    QPushButton* OKButton = nullptr;

    // Diameters above this (mm) are warned about.
    static constexpr double threshold_mm = 165;

    // "Don't warn me again": ticked means no warning.
    bool warnings_silenced() const;
    void set_warnings_silenced(bool silenced);

    void set_metric_texts(bool metric);

protected:
    void reject() override;

private slots:
    void OKButton_Click();
};

} // namespace venturon
