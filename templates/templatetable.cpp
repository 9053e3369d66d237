#include "templatetable.h"

#include "characters.h"

QByteArray templateKey(QByteArrayView name) {
    QByteArray key = name.toByteArray();
    for (char& c : key)
        c = foldCase(c);
    return key;
}

QString TemplateError::message() const {
    return QStringLiteral("%1(%2) error %3: %4")
        .arg(origin.file())
        .arg(origin.line)
        .arg(number)
        .arg(QString::fromUtf8(text));
}
