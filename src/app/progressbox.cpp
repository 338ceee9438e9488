#include "progressbox.h"

ProgressBox::ProgressBox(QWidget *parent, QString label, Cancel cancel)
    : m_parent(parent), m_label(std::move(label)), m_cancel(cancel)
{
}

ProgressBox::~ProgressBox()
{
    delete m_dialog;
}

bool ProgressBox::update(int done, int total)
{
    if (total <= kShownAbove)
        return true;
    if (!m_dialog) {
        m_dialog = new QProgressDialog(m_label, QStringLiteral("Cancel"), 0, total, m_parent);
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setMinimumDuration(0);
        if (m_cancel == Cancel::Hidden)
            m_dialog->setCancelButton(nullptr);
    }
    // A window-modal box takes its events in setValue, Cancel included.
    m_dialog->setValue(done);
    return !m_dialog->wasCanceled();
}
