#pragma once

#include <QHeaderView>
#include <functional>

// The narrow column left of the cells: it marks the current record (and
// whether that record is being edited or inserted) instead of numbering
// rows, and a press on it picks the row without selecting it as a block.
class RecordIndicatorHeader : public QHeaderView
{
    Q_OBJECT

public:
    explicit RecordIndicatorHeader(QWidget* parent = nullptr);

    // The mark for a row: empty for every row but the current one.
    void setMarker(std::function<QString(int row)> marker) { marker_ = std::move(marker); }
    QString markerAt(int row) const { return marker_ ? marker_(row) : QString(); }
    QSize sizeHint() const override;

signals:
    void rowPressed(int row); // -1: below the last line
    void rowDoubleClicked(int row);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::function<QString(int)> marker_;
};
