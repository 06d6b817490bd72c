#pragma once

#include <QWidget>

#include <vector>

class QGridLayout;
class QLabel;

namespace zelkor {

/// Fields of a header or pane in label–field pairs, aligned in columns, as many pairs to a line
/// as the form's width allows: a declared row that does not fit goes on over the next lines, so
/// no label or field is ever squeezed below the width of its text.
class FieldForm : public QWidget {
    Q_OBJECT
public:
    /// One field of a row: its label (none for a check box) and its editor. A wide field that
    /// ends its line takes the rest of the line.
    struct Item {
        QLabel* label = nullptr;
        QWidget* editor = nullptr;
        bool wide = false;
    };

    explicit FieldForm(QWidget* parent = nullptr);

    /// Adds a declared row; the widgets become the form's children.
    void add_row(const std::vector<Item>& row);

    QSize sizeHint() const override;
    /// As narrow as one pair a line, as tall as the lines are now.
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    /// The width the form needs with `pairs` pairs to a line.
    int width_for(int pairs) const;
    int pairs_fitting(int width) const;
    void arrange(int pairs);
    int widest_row() const;

    QGridLayout* m_grid = nullptr;
    std::vector<std::vector<Item>> m_rows;
    int m_pairs = 0;
    bool m_arranging = false;
};

} // namespace zelkor
