#pragma once

#include "box_suggestion.h"
#include "port_length.h"
#include "program_state.h"

#include <QDialog>
#include <QString>

#include <array>
#include <cstddef>
#include <functional>
#include <optional>

class QGridLayout;
class QLabel;
class QPushButton;

namespace venturon {

class TextBox;

// Boxes suggested for the enclosure designer's driver, with its losses and driver
// count as set: the flattest box, a box for a volume and a box for an F3, each
// with its tuning, F3, highest port air velocity, port length and nearest
// classical alignment, and a button that takes it into the designer. Not modal:
// it stays open beside the designer and is only hidden when closed.
class BoxSuggestionDialog : public QDialog {
    Q_OBJECT
public:
    // The straight length of the designer's own port (round or slot) that tunes a
    // box of vb_m3 to fb_hz.
    using PortLengthOf = std::function<Checked<PortLength>(double vb_m3, double fb_hz)>;

    // use(vb_l, fb_hz) puts a suggested box into the designer.
    BoxSuggestionDialog(ProgramState& program, PortLengthOf length_of,
                        std::function<void(double vb_l, double fb_hz)> use,
                        QWidget* parent = nullptr);

    // Works the suggestions out for the designer's design as it is now and shows
    // them; port_words says which port the lengths are for ("1 port of 100 mm,
    // flare radius 27 mm").
    void show_for(const EnclosureInput& input, const QString& port_words);

    // At least as high as the wrapped texts need at the smallest width.
    QSize minimumSizeHint() const override;

protected:
    void reject() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The table's rows below its header, and its columns without the buttons.
    enum Row : std::size_t { flattest_row = 1, volume_row = 2, f3_row = 3 };
    static constexpr std::size_t row_count = 4;
    static constexpr std::size_t column_count = 7;

    // A field for a volume or an F3: its caption, its unit and its message.
    struct Target {
        QLabel* caption = nullptr;
        TextBox* text = nullptr;
        QLabel* unit = nullptr;
        QLabel* message = nullptr;
        std::optional<double> value; // m^3 or Hz; nothing when the field is empty
    };

    void create_controls();
    void add_target(QGridLayout* grid, int line, Target& target, const char* name,
                    const QString& caption, const QString& said);
    QWidget* create_table();
    void show_units();

    // Reads a field; a changed value, or Enter (`always`), works its row out again.
    void read_target(Row row, bool always);
    // Works a row out for the input shown, under a wait cursor.
    void work_out(Row row);
    void show_row(Row row, const Checked<BoxSuggestion>& suggestion);
    void show_row_words(Row row, const QString& what, const QString& words);
    QString length_text(const BoxSuggestion& suggestion) const;
    void use_row(Row row);

    ProgramState& program_;
    PortLengthOf length_of_;
    std::function<void(double, double)> use_;

    std::optional<EnclosureInput> input_;
    double qts_ = 0; // the driver's, for the words of a problem
    UnitsMode units_ = UnitsMode::metric;

    QLabel* for_text_ = nullptr;
    QLabel* criteria_text_ = nullptr;
    Target volume_;
    Target f3_;
    QGridLayout* table_layout_ = nullptr;
    std::array<std::array<QLabel*, column_count>, row_count> cells_{};
    std::array<QPushButton*, row_count> use_buttons_{};
    // The box each row suggests, for its Use button: m^3 and Hz.
    struct Box {
        double vb_m3 = 0;
        double fb_hz = 0;
    };
    std::array<std::optional<Box>, row_count> boxes_{};
    QPushButton* close_button_ = nullptr;
};

} // namespace venturon
