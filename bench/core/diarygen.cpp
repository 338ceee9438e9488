#include "diarygen.h"

#include "diary/daykeys.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <array>
#include <random>

namespace diarygen {

namespace {

constexpr std::array kWords{"the", "morning", "walked", "to", "harbour", "with", "Anna", "and", "rain", "coffee",
                            "letter", "garden", "remember", "quiet", "evening", "train", "laughed", "mother", "bread",
                            "window", "snow", "music", "tired", "happy", "wrote", "friends", "market", "bicycle"};

QByteArray sentence(std::mt19937 &random)
{
    std::uniform_int_distribution<size_t> word(0, kWords.size() - 1);
    std::uniform_int_distribution<int> length(6, 18);
    QByteArray text;
    const int words = length(random);
    for (int i = 0; i < words; ++i) {
        if (i)
            text += ' ';
        text += kWords[word(random)];
    }
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text + ". ";
}

QByteArray pictureGroup(unsigned seed)
{
    QImage image(96, 64, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(static_cast<int>(seed % 360), 120, 220));
    QPainter painter(&image);
    painter.setBrush(Qt::darkGreen);
    painter.drawEllipse(10, 10, 40, 40);
    painter.end();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QByteArray group = "{\\pict\\pngblip\\picw96\\pich64\\picwgoal1440\\pichgoal960\r\n";
    const QByteArray hex = buffer.data().toHex();
    for (qsizetype at = 0; at < hex.size(); at += 128)
        group += hex.mid(at, 128) + "\r\n";
    return group + "}";
}

} // namespace

QByteArray pageRtf(unsigned seed, bool withPicture)
{
    std::mt19937 random(seed);
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Times New Roman;}"
                     "{\\f1\\fnil\\fcharset0 Arial;}}\r\n{\\colortbl ;\\red0\\green0\\blue128;}\r\n\\viewkind4\\uc1";
    std::uniform_int_distribution<int> paragraphs(2, 6);
    const int count = paragraphs(random);
    for (int p = 0; p < count; ++p) {
        rtf += p % 2 ? "\\pard\\f0\\fs24 " : "\\pard\\qj\\f1\\fs20 ";
        rtf += sentence(random) + "{\\b " + sentence(random) + "}" + "{\\cf1\\i " + sentence(random) + "}" + sentence(random);
        rtf += "\\par\r\n";
    }
    if (withPicture)
        rtf += "\\pard\\qc " + pictureGroup(seed) + "\\par\r\n";
    return rtf + "}\r\n";
}

int generate(const DataRoot &root, const Options &options)
{
    int written = 0;
    for (int day = 0; day < options.days; ++day) {
        const QDate date = options.first.addDays(day);
        const unsigned seed = options.seed * 7919u + static_cast<unsigned>(day);
        const bool picture = options.pictureEvery > 0 && day % options.pictureEvery == 0;
        if (pagestore::save(root, date, pageRtf(seed, picture)))
            ++written;
        if (options.noteEvery > 0 && day % options.noteEvery == 0 && day < 366)
            (void)notestore::save(root, daykeys::monthDay(date), u"Birthday of an old friend\nCall in the morning");
    }
    return written;
}

} // namespace diarygen
