#pragma once

#include <QString>

#include <functional>

namespace diaryimport {

// Asked for the address of each picture the text shows; true when the
// picture was found, and is kept under that address.
using PictureFound = std::function<bool(const QString &address)>;

// A RedNotebook day's text, written in its markup, as HTML: bold, italic,
// underline and strike, = headings =, - and + lists, rules, line breaks,
// [label address] links and [""picture"".png] pictures. A picture that was
// not found stays as the text that names it.
QString rednotebookHtml(const QString &text, const PictureFound &pictureFound);

} // namespace diaryimport
