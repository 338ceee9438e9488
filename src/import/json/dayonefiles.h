#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace diaryimport::dayone {

// The files of a Day One export, still zipped or unpacked into a folder, by
// their names in it ("Journal.json", "photos/<md5>.jpeg"), each read
// within the same bound in both forms.
class Files
{
public:
    explicit Files(QString name)
        : m_name(std::move(name))
    {
    }
    virtual ~Files() = default;
    Files(const Files &) = delete;
    Files &operator=(const Files &) = delete;

    // The export's name as the user gave it.
    const QString &name() const { return m_name; }
    // A file of the export as faults name it ("export.zip/Journal.json").
    QString nameOf(const QString &file) const { return m_name + QLatin1Char('/') + file; }

    // The journals: every .json file at the top of the export, by name.
    virtual QStringList journals() const = 0;
    virtual bool contains(const QString &file) const = 0;
    // The file's bytes, or nothing with the reason in `why`: it is larger
    // than `largest` or cannot be read whole.
    virtual std::optional<QByteArray> read(const QString &file, QString &why, qint64 largest) const = 0;

private:
    QString m_name;
};

// The export at `path`: a folder, else a zip; nothing with the reason in
// `why` when it is neither.
std::unique_ptr<Files> openFiles(const QString &path, QString &why);

} // namespace diaryimport::dayone
