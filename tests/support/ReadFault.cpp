#include "support/ReadFault.h"

#include <QFileInfo>

namespace pomelark::test {

ReadFault::ReadFault(const QString &path, qint64 goodBytes, const QString &gate)
    : m_file("POMELARK_READ_FAULT_FILE", QFileInfo(path).absoluteFilePath().toLocal8Bit()),
      m_goodBytes("POMELARK_READ_FAULT_AFTER", QByteArray::number(goodBytes)),
      m_gate("POMELARK_READ_FAULT_GATE", gate.toLocal8Bit()),
      m_preload("LD_PRELOAD", POMELARK_READ_FAULT_LIBRARY)
{
}

} // namespace pomelark::test
