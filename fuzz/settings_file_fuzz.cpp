// The settings file: whatever a file holds, reading it loses no byte, a key
// written into it reads back as written, and every other key stays as it was.
#include "core/ini_file.h"
#include "core/settings_file.h"
#include "fuzz/fuzz_support.h"

#include <QFile>
#include <fuzzer/FuzzedDataProvider.h>

using fuzzsupport::require;

namespace {

QString takeText(FuzzedDataProvider& input, size_t maxBytes)
{
    return QString::fromStdString(input.ConsumeRandomLengthString(maxBytes));
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString section = takeText(input, 16);
    const QString key = takeText(input, 16);
    const QString value = takeText(input, 64);
    const QString otherSection = takeText(input, 16);
    const QString otherKey = takeText(input, 16);
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray before(rest.data(), qsizetype(rest.size()));

    require(IniDocument::fromBytes(before).toBytes() == before,
            "a file read and written unchanged keeps its bytes");

    const QString path = fuzzsupport::scratchFile(QStringLiteral("settings.ini"), before);
    if (MyutyFiles::IniWriteString(path, section, key, value) != 0) {
        require(fileBytes(path) == before, "a refused write leaves the file alone");
        return 0;
    }
    const QString missing = QStringLiteral("\n"); // no stored value can hold a line end
    require(MyutyFiles::IniReadString(path, section, key, missing) == value,
            "a written key reads back as written");
    const bool sameKey = otherSection.compare(section, Qt::CaseInsensitive) == 0 &&
                         otherKey.compare(key, Qt::CaseInsensitive) == 0;
    require(sameKey || IniDocument::fromBytes(fileBytes(path)).value(otherSection, otherKey) ==
                           IniDocument::fromBytes(before).value(otherSection, otherKey),
            "a write leaves every other key as it was");
    return 0;
}
