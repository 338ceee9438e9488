#include "frmpicture.h"

#include "ui/designgeometry.h"
#include "clipboardpaste.h"
#include "picturebox.h"
#include "picturescale.h"
#include "editor/richtextedit.h"
#include "ui/look.h"
#include "seams/dialogs.h"
#include "seams/messages.h"
#include "ui/screenplacement.h"
#include "ui/toolbarkeys.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolBar>
#include <QValidator>

namespace {

// Typed text is never finished, so the field never takes it for a pick from
// its list: only a pick scales the picture.
class NeverFinished : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &, int &) const override { return Intermediate; }
};

} // namespace

Frmpicture::Frmpicture(RichTextEdit &page, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window), m_page(page), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("Frmpicture"));
    setWindowTitle(QStringLiteral("Add Picture"));
    setAttribute(Qt::WA_DeleteOnClose);
    keepSelectionReadable(*this);
    resize(fromTwips(0, 0, 9675, 7965).size());
    buildControls();
    Form_Load();
}

void Frmpicture::buildControls()
{
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    placeInTwips(Toolbar1, 0, 0, 9675, 420);
    buildToolbar();

    Text1 = new QLabel(QStringLiteral("Resize"), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    QFont caption(QStringLiteral("Times New Roman"), 12);
    caption.setBold(true);
    Text1->setFont(caption);
    placeInTwips(Text1, 1560, 55, 1095, 285);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setAccessibleName(Text1->text());
    // The typing field takes the focus; on Linux the box itself is announced by its value.
    Combo1->lineEdit()->setAccessibleName(Text1->text());
    Combo1->setValidator(new NeverFinished(Combo1));
    Combo1->setCompleter(nullptr);
    placeInTwips(Combo1, 2880, 0, 1095, 375);
    connect(Combo1, &QComboBox::activated, this, &Frmpicture::Combo1_Click);

    Picture1 = new PictureBox(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->move(fromTwips(240, 600, 0, 0).topLeft());
    Picture2 = new PictureBox(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->hide();
}

void Frmpicture::buildToolbar()
{
    const auto key = [this](const QString &name, const char *themeIcon, QStyle::StandardPixmap fallback) {
        auto *action = new QAction(QIcon::fromTheme(QString::fromLatin1(themeIcon), style()->standardIcon(fallback)), QString(), this);
        connect(action, &QAction::triggered, this, [this, name] { Toolbar1_ButtonClick(name); });
        return ToolbarKey{name, action, {}};
    };
    Toolbar1->setMovable(false);
    Toolbar1->setIconSize(QSize(16, 16));
    addToolbarKeys(*Toolbar1, {key(QStringLiteral("Paste"), "edit-paste", QStyle::SP_DialogApplyButton),
                               key(QStringLiteral("Close"), "window-close", QStyle::SP_DialogCloseButton)});
}

void Frmpicture::Form_Load()
{
    Combo1->clear();
    Combo1->addItems(picture::scaleEntries());
    showScale(picture::unscaledEntry());
}

// Sets the field's text without scaling anything.
void Frmpicture::showScale(const QString &entry)
{
    Combo1->setCurrentIndex(Combo1->findText(entry));
    m_shownScale = entry;
}

void Frmpicture::setUnscaledPicture(const QImage &picture)
{
    Picture2->setPicture(picture);
}

void Frmpicture::showUnscaled()
{
    Picture1->setPicture(Picture2->picture());
    showScale(picture::unscaledEntry());
    centrePreview();
    // Still open from before, it may lie behind the main window.
    if (isVisible())
        raise();
    showOnScreen(*this, parentWidget());
    activateWindow();
    Combo1->setFocus();
}

// Always from the unscaled picture, so factors never compound.
void Frmpicture::Combo1_Click(int index)
{
    const QString entry = Combo1->itemText(index);
    const auto scaled = picture::scaledPicture(Picture2->picture(), entry.toDouble());
    if (!scaled) {
        messages::tell(m_dialogs, messages::pictureTooLarge());
        showScale(m_shownScale);
        return;
    }
    Picture1->setPicture(*scaled);
    m_shownScale = entry;
    centrePreview();
}

void Frmpicture::centrePreview()
{
    Picture1->move(picture::centredLeft(width(), Picture1->width()), Picture1->y());
}

void Frmpicture::Toolbar1_ButtonClick(const QString &key)
{
    if (key == QLatin1String("Paste"))
        paste();
    else if (key == QLatin1String("Close"))
        hide();
}

void Frmpicture::paste()
{
    if (!picture::pasteThroughClipboard(Picture1->picture(), m_page)) {
        messages::tell(m_dialogs, messages::clipboardUnavailable());
        return;
    }
    hide();
}
