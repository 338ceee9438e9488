#include "form1.h"

#include "ui/busycursor.h"
#include "app/filelistbox.h"
#include "diary/search.h"
#include "editor/richtextedit.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

void Form1::showSearchPanel()
{
    AskToSavePage();
    Frame5->show();
    Frame5->raise();
    Text4->setFocus();
    rtxt2->clear();
    setPageNumber(0);
    Label3->clear();
    rtxt->clear();
}

void Form1::Command4_Click()
{
    List1->clear();
    showBusyCursor();
    List1->addItems(searchPages(File3->path(), File3->entries(), Text4->text()));
    Timer1.start();
    showNormalCursor();
}

void Form1::List1_Click()
{
    showBusyCursor();
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    const qsizetype index = selected.isEmpty() ? -1 : File3->entries().indexOf(selected.first()->text());
    if (index >= 0)
        setPageNumber(index + 1);
    Timer1.start();
    showNormalCursor();
}

void Form1::Command1_Click()
{
    List1->clear();
    Frame5->hide();
    Text4->clear();
    Timer1.start();
}
