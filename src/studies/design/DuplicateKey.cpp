#include "studies/design/DuplicateKey.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

namespace {

// Walks valid JSON text value by value, keeping the keys of each object
// until it ends. Every index is checked against the end of the text, so a
// text that is not valid JSON ends the walk instead of overrunning it.
class KeyWalk
{
public:
    explicit KeyWalk(const QByteArray& text)
        : text(text)
    {}

    DuplicateKey first()
    {
        value();
        return found;
    }

private:
    bool more() const { return at < text.size() && found.offset < 0; }
    char current() const { return text.at(at); }

    void skipSpace()
    {
        while (at < text.size() &&
               (current() == ' ' || current() == '\t' || current() == '\n' || current() == '\r'))
            ++at;
    }

    void value()
    {
        skipSpace();
        if (!more())
            return;
        switch (current()) {
        case '{':
            object();
            break;
        case '[':
            array();
            break;
        case '"':
            string();
            break;
        default:
            while (at < text.size() && !QByteArrayLiteral(",]} \t\r\n").contains(current()))
                ++at;
        }
    }

    void object()
    {
        ++at;
        QSet<QString> keys;
        for (skipSpace(); more() && current() != '}'; skipSpace()) {
            const int keyAt = at;
            const QString key = string();
            if (keys.contains(key)) {
                found = {key, keyAt};
                return;
            }
            keys.insert(key);
            skipSpace();
            if (more() && current() == ':')
                ++at;
            value();
            skipSpace();
            if (more() && current() == ',')
                ++at;
        }
        ++at;
    }

    void array()
    {
        ++at;
        for (skipSpace(); more() && current() != ']'; skipSpace()) {
            value();
            skipSpace();
            if (more() && current() == ',')
                ++at;
        }
        ++at;
    }

    // The string at the current quote, decoded; escapes are decoded by the
    // JSON reader itself, so "\u0064esign" and "design" are one key.
    QString string()
    {
        const int start = at++;
        while (at < text.size() && current() != '"')
            at += current() == '\\' ? 2 : 1;
        const QByteArray quoted = text.mid(start, ++at - start);
        if (!quoted.contains('\\'))
            return QString::fromUtf8(quoted.mid(1, quoted.size() - 2));
        return QJsonDocument::fromJson('[' + quoted + ']').array().at(0).toString();
    }

    const QByteArray& text;
    int at = 0;
    DuplicateKey found;
};

} // namespace

DuplicateKey DuplicateKey::firstIn(const QByteArray& json)
{
    return KeyWalk(json).first();
}
