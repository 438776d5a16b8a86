#pragma once

#include <QObject>

namespace kvqs {

// Installed on a QLabel, paints the label's text shortened with an ellipsis to its width while
// the label keeps (and returns) its full text.
class EllipsisFilter : public QObject
{
    Q_OBJECT

public:
    explicit EllipsisFilter(QObject* parent = nullptr, bool elideMiddle = true);
    ~EllipsisFilter() override;

    bool elideMiddle() const { return m_elideMiddle; }
    void setElideMiddle(bool middle) { m_elideMiddle = middle; }

    bool eventFilter(QObject* object, QEvent* event) override;

private:
    bool m_elideMiddle = true;
    bool m_painting = false;
};

} // namespace kvqs
