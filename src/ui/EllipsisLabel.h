#pragma once

#include <QLabel>

namespace kvqs {

class EllipsisFilter;

// A label that shows its text elided to its width (in the middle or at the right) and still
// returns the full text.
class EllipsisLabel : public QLabel
{
    Q_OBJECT

public:
    explicit EllipsisLabel(QWidget* parent = nullptr, bool elideMiddle = true);
    ~EllipsisLabel() override;

    EllipsisFilter* filter() const { return m_filter; }

private:
    EllipsisFilter* m_filter = nullptr;
};

} // namespace kvqs
