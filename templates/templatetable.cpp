#include "templatetable.h"

#include "characters.h"

QByteArray templateKey(QByteArrayView name) {
    return caseFolded(name);
}

QString TemplateError::message() const {
    return QStringLiteral("%1(%2) error %3: %4")
        .arg(origin.file())
        .arg(origin.line)
        .arg(number)
        .arg(QString::fromUtf8(text));
}
