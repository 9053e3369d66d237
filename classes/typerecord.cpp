#include "typerecord.h"

#include "characters.h"

RecordIndex::RecordIndex(const QList<TypeRecord>& records) {
    lastByName.reserve(records.size());
    for (qsizetype i = 0; i < records.size(); ++i)
        lastByName.insert(caseFolded(records[i].typeName), i);
}

qsizetype RecordIndex::find(QByteArrayView name) const {
    return lastByName.value(caseFolded(name), -1);
}
