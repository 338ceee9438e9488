#include "seams/messages.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Icon = Dialogs::Icon;
using Buttons = Dialogs::Buttons;
using Button = Dialogs::Button;

// Other tests name the boxes; these pin a few of the words themselves,
// misspellings included, so that a changed text is noticed.
TEST(Messages, KeepTheirWords)
{
    const std::pair<messages::Box, messages::Box> cases[] = {
        {messages::passwordNotSaved(), {u"An error has occured! The password was not saved!"_s, u"ERROR"_s, Icon::Critical}},
        {messages::pageNotOpened(u"Why."_s), {u"An error has occured! The file was not opened!\nWhy."_s, u"ERROR"_s, Icon::Critical}},
        {messages::noPassword(), {u"Quillnest has no password. Click on ''File'' and click 'Change Password' to asign a password."_s,
                                  u"Quillnest version 2"_s, Icon::Exclamation}},
        {messages::notAPicture(),
         {u"The file entered was not a valid picture file! choose a jpg, bmp, of gif!"_s, u"File is not Valid"_s, Icon::Critical}},
        {messages::savePage(),
         {u"File has been changed. Do you want to save the file?"_s, u"Save File?"_s, Icon::Question, Buttons::YesNo, Button::Yes}},
        {messages::deletePage(), {u"Are you sure you want to delete the file? This can not be undone!"_s, u"Delete File?"_s,
                                  Icon::Question, Buttons::YesNo, Button::No}},
        {messages::deleteNote(), {u"Are you sure you want to delete this file? You will not be able to undo this operation!"_s,
                                  u"Delete File"_s, Icon::Exclamation, Buttons::OkCancel, Button::Cancel}},
        {messages::saveNote(u"December 4"_s), {u"The note for December 4 has been changed. Do you want to save it?"_s, u"Save Date?"_s,
                                               Icon::Question, Buttons::YesNoCancel, Button::Yes}},
        {messages::copiesWaiting({u"2026-12-03"_s, u"the yearly note of Dec-4"_s}),
         {u"These were also changed on another computer, and the two versions need you to choose what to keep: 2026-12-03, "
          u"the yearly note of Dec-4. The calendar marks their days; open one and press Compare... above its page or note."_s,
          u"Quillnest version 2"_s, Icon::Information}},
    };
    for (const auto &[box, expected] : cases)
        EXPECT_EQ(box, expected) << expected.text.toStdString();
}
