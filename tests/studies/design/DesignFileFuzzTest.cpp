#include "studies/design/DesignFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <QRegularExpression>

#include <random>

namespace {

QList<QByteArray> exampleTexts()
{
    const QDir examples(QStringLiteral(QUORVEL_EXAMPLES_DIR));
    QList<QByteArray> texts;
    for (const QString& name : examples.entryList({QStringLiteral("*.json")})) {
        QFile file(examples.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            texts << file.readAll();
    }
    return texts;
}

// Values of every type, among them numbers no field or count can hold.
QJsonValue oddValue(std::mt19937& random)
{
    const QList<QJsonValue> values = {
        QJsonValue(),          QJsonValue(true),         QJsonValue(1e308),
        QJsonValue(-1e308),    QJsonValue(2147483648.0), QJsonValue(-1),
        QJsonValue(0.5),       QJsonValue(""),           QJsonValue("1:2:3"),
        QJsonValue("\u00e9:"), QJsonArray{1, 2},         QJsonObject{{"S1", "S9"}},
    };
    return values[int(random() % values.size())];
}

// value with one of its members, at any depth, replaced by an odd value.
QJsonValue withOddMember(const QJsonValue& value, std::mt19937& random)
{
    if (!value.isObject() || value.toObject().isEmpty() || random() % 4 == 0)
        return oddValue(random);
    QJsonObject object = value.toObject();
    const QString key = object.keys()[int(random() % object.size())];
    object[key] = withOddMember(object[key], random);
    return object;
}

QByteArray mutated(const QByteArray& text, std::mt19937& random)
{
    QByteArray result = text;
    switch (random() % 5) {
    case 0:
        return text.left(int(random() % text.size()));
    case 1:
        for (int flips = 1 + int(random() % 3); flips > 0; --flips) {
            const int at = int(random() % result.size());
            result[at] = char(result.at(at) ^ (1 << (random() % 8)));
        }
        return result;
    case 2:
        return result.insert(int(random() % result.size()), char(random() % 256));
    case 3: {
        const QJsonObject file = QJsonDocument::fromJson(text).object();
        return QJsonDocument(withOddMember(file, random).toObject()).toJson();
    }
    default: {
        // The design's name nested in arrays, deeper than the parser goes.
        const int depth = 1 + int(random() % 3000);
        const int start = result.indexOf("\"design\": ") + 10;
        const int end = result.indexOf(',', start);
        return result.insert(end, QByteArray(depth, ']')).insert(start, QByteArray(depth, '['));
    }
    }
}

} // namespace

// Every mutation is read without a crash or a hang; a text that is read is
// written back as a file that reads again to the same design, and a refused
// one says why.
TEST(DesignFileFuzz, ThousandsOfMutatedExamplesAreReadOrRefusedWithAMessage)
{
    const QList<QByteArray> examples = exampleTexts();
    ASSERT_EQ(examples.size(), 5);
    std::mt19937 random(20240611);
    int read = 0;
    for (int n = 0; n < 5000; ++n) {
        const QByteArray text = mutated(examples[n % examples.size()], random);
        Design design;
        QString error;
        if (!DesignFile::read(text, &design, &error)) {
            EXPECT_FALSE(error.isEmpty()) << text.toStdString();
            continue;
        }
        ++read;
        const QByteArray written = DesignFile::write(design);
        Design again;
        ASSERT_TRUE(DesignFile::read(written, &again, &error)) << written.toStdString();
        EXPECT_EQ(DesignFile::write(again), written);
    }
    // Some mutations leave a design (a flipped digit, a truncated option).
    EXPECT_GT(read, 50);
}

// A member of any object of an example given twice, the copy just before the
// original, its name sometimes escaped: refused, naming the key and where
// its second occurrence starts.
TEST(DesignFileFuzz, KeysGivenTwiceAreRefusedWhereverTheyStand)
{
    const QList<QByteArray> examples = exampleTexts();
    ASSERT_EQ(examples.size(), 5);
    const QRegularExpression member(QStringLiteral("^( *)\"(\\w+)\": [^{\\[]*?,?$"));
    std::mt19937 random(20240612);
    for (int n = 0; n < 1000; ++n) {
        QList<QByteArray> lines = examples[n % examples.size()].split('\n');
        QList<int> members;
        for (int i = 0; i < lines.size(); ++i) {
            if (member.match(QString::fromUtf8(lines[i])).hasMatch())
                members << i;
        }
        ASSERT_FALSE(members.isEmpty());
        const int at = members[int(random() % members.size())];
        const QRegularExpressionMatch match = member.match(QString::fromUtf8(lines[at]));
        QByteArray copy = lines[at];
        if (!copy.endsWith(','))
            copy += ',';
        const QString key = match.captured(2);
        if (random() % 2 == 0) {
            const int quote = match.captured(1).size();
            copy.replace(
                quote + 1, 1,
                QStringLiteral("\\u%1").arg(key.at(0).unicode(), 4, 16, QChar('0')).toLatin1());
        }
        lines.insert(at, copy);
        Design design;
        QString error;
        EXPECT_FALSE(DesignFile::read(lines.join('\n'), &design, &error));
        EXPECT_EQ(error, QStringLiteral("Duplicate key \"%1\" at line %2, column %3: a key may be "
                                        "given only once")
                             .arg(key)
                             .arg(at + 2)
                             .arg(match.captured(1).size() + 1));
    }
}
