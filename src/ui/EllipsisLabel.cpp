#include "EllipsisLabel.h"

#include "EllipsisFilter.h"

namespace kvqs {

EllipsisLabel::EllipsisLabel(QWidget* parent, bool elideMiddle) : QLabel(parent)
{
    m_filter = new EllipsisFilter(this, elideMiddle);
    installEventFilter(m_filter);
    // The full text may be long; the label shows what fits.
    setMinimumWidth(1);
    setSizePolicy(QSizePolicy::Ignored, sizePolicy().verticalPolicy());
}

EllipsisLabel::~EllipsisLabel()
{
    removeEventFilter(m_filter);
}

} // namespace kvqs
