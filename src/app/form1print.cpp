#include "form1.h"

#include "diary/pagestore.h"
#include "print/frmprint.h"
#include "editor/richtextedit.h"

namespace {

PrintWindowServices printWindowServices(Form1 &form, const AppServices &services)
{
    PrintWindowServices print;
    print.dialogs = services.dialogs;
    print.printer = services.printer;
    print.dayKey = [&form] { return form.lblvalue.text(); };
    print.pageExists = [&form](const QString &key) { return pagestore::exists(form.dataRoot(), key); };
    print.storePage = [&form](const QString &key, const QByteArray &rtf) { return form.storePage(key, rtf); };
    print.showStoredCopy = [&form](const QByteArray &rtf) { form.rtxt2->setTextRtf(rtf); };
    return print;
}

} // namespace

// Each time the print window gets a fresh copy of the page. A window that
// could not lay out the printer's page is made anew, measuring it again.
void Form1::m17_Click()
{
    if (m_frmprint && !m_frmprint->compatible())
        delete m_frmprint;
    if (!m_frmprint)
        m_frmprint = new Frmprint(printWindowServices(*this, m_services), this);
    m_frmprint->showCopy(rtxt2->textRtf());
}
