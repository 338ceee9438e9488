#include "form1.h"

#include "picture/addpicture.h"
#include "picture/frmpicture.h"

// The page counts as changed even when no picture ends up in it.
void Form1::AddPicture()
{
    filechanged = 1;
    picture::AddPicture(*m_services.dialogs, [this]() -> Frmpicture & {
        if (!frmpicture)
            frmpicture = new Frmpicture(*rtxt2, *m_services.dialogs, this);
        return *frmpicture;
    });
}
