#include "platform/CpuLoad.h"

#include <QFile>
#include <QList>

namespace {

QByteArray ReadProcStat()
{
    QFile file(QStringLiteral("/proc/stat"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

TCpuLoadProbe* g_installed = nullptr;

} // namespace

TCpuLoadProbe::TCpuLoadProbe(TReader reader)
    : m_reader(reader ? std::move(reader) : TReader(ReadProcStat))
{
}

bool TCpuLoadProbe::Sample()
{
    // "cpu  user nice system idle iowait irq softirq steal ..." for the total, then "cpuN ...".
    std::vector<TCounters> processors;
    TCounters total;
    bool haveTotal = false;
    for (const QByteArray& line : m_reader().split('\n')) {
        if (!line.startsWith("cpu"))
            continue;
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 5)
            continue;
        TCounters c;
        for (qsizetype f = 1; f < fields.size() && f <= 8; ++f) {
            const uint64_t v = fields[f].toULongLong();
            c.total += v;
            if (f != 4 && f != 5)  // idle and iowait
                c.busy += v;
        }
        if (fields[0] == "cpu") {
            total = c;
            haveTotal = true;
        } else {
            processors.push_back(c);
        }
    }
    if (!haveTotal)
        return false;
    processors.push_back(total);
    m_previous = m_sampled && m_current.size() == processors.size() ? m_current : processors;
    m_current = std::move(processors);
    m_sampled = true;
    return true;
}

int TCpuLoadProbe::ProcessorCount()
{
    if (!m_sampled)
        Sample();
    return int(m_current.size());
}

double TCpuLoadProbe::ProcessorLoad(int i)
{
    if (!m_sampled)
        Sample();
    if (i < 0 || i >= int(m_current.size()))
        return -1.0;
    const uint64_t total = m_current[size_t(i)].total - m_previous[size_t(i)].total;
    const uint64_t busy = m_current[size_t(i)].busy - m_previous[size_t(i)].busy;
    return total == 0 ? 0.0 : double(busy) / double(total);
}

TCpuLoadProbe& CpuLoadProbe()
{
    static TCpuLoadProbe program;
    return g_installed ? *g_installed : program;
}

void SetCpuLoadProbe(TCpuLoadProbe* probe)
{
    g_installed = probe;
}
