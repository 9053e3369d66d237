#include "typerecord.h"

RecordIndex::RecordIndex(const QList<TypeRecord>& records) {
    lastByName.reserve(records.size());
    for (qsizetype i = 0; i < records.size(); ++i)
        lastByName.insert(records[i].typeName.toCaseFolded(), i);
}

qsizetype RecordIndex::find(QStringView name) const {
    return lastByName.value(name.toString().toCaseFolded(), -1);
}
