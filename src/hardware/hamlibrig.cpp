#include "hamlibrig.h"

#include "rig/rigmapping.h"

#include <hamlib/rig.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <mutex>

namespace {

// Once, on the thread that makes the first HamlibRig (the window's, or kvrlog-cli's only one), before any
// poller thread calls hamlib.
void prepareHamlib() {
    static std::once_flag once;
    std::call_once(once, [] {
        // hamlib writes its trace to stderr unless told otherwise; kvrlog-cli's output must stay clean.
        rig_set_debug(RIG_DEBUG_NONE);
        rig_load_all_backends();
        // hamlib switches LC_NUMERIC to "C" while it reads numbers and then back to the name it had read before,
        // which the switch has freed. With "C" in place already nothing is freed. The program formats its
        // numbers with Qt, which does not use the C library's locale.
        setlocale(LC_NUMERIC, "C");
    });
}

RigReply failure(int code) {
    return {HamlibRig::errorText(code)};
}

RigReply reply(int code) {
    return code == RIG_OK ? RigReply{} : failure(code);
}

const QString kNotOpen = QStringLiteral("radio nie jest otwarte");

// A radio behind rigctld that stops answering is given up after this, so a poll never hangs for long.
constexpr const char* kNetworkTimeoutMs = "1500";

} // namespace

HamlibRig::HamlibRig(RigSettings settings) : m_settings(std::move(settings)) {
    prepareHamlib();
}

HamlibRig::~HamlibRig() {
    close();
}

RigReply HamlibRig::setConf(const char* name, const QString& value) {
    return reply(rig_set_conf(m_rig, rig_token_lookup(m_rig, name), value.toLocal8Bit().constData()));
}

RigReply HamlibRig::open() {
    close();
    const bool network = m_settings.connection == RigSettings::Connection::Rigctld;
    const rig_model_t model = network ? RIG_MODEL_NETRIGCTL : rig_model_t(m_settings.model);
    m_rig = rig_init(model);
    if (!m_rig)
        return {QStringLiteral("hamlib nie zna modelu %1").arg(model)};
    RigReply done = setConf("rig_pathname", network ? m_settings.rigctldAddress.trimmed() : m_settings.port);
    if (done.ok() && network) {
        done = setConf("timeout", QString::fromLatin1(kNetworkTimeoutMs));
        if (done.ok())
            done = setConf("retry", QStringLiteral("0"));
    }
    if (done.ok() && !network && m_settings.speed > 0)
        done = setConf("serial_speed", QString::number(m_settings.speed));
    if (done.ok() && !network && m_settings.pttThroughRig)
        done = setConf("ptt_type", QStringLiteral("RIG"));
    if (done.ok())
        done = reply(rig_open(m_rig));
    if (!done.ok()) {
        rig_cleanup(m_rig);
        m_rig = nullptr;
        return done;
    }
    // Every reading asks the radio: hamlib's cache would show a band change one poll late.
    rig_set_cache_timeout_ms(m_rig, HAMLIB_CACHE_ALL, 0);
    m_keyerWpm = 0;
    return {};
}

void HamlibRig::close() {
    if (!m_rig)
        return;
    rig_close(m_rig);
    rig_cleanup(m_rig);
    m_rig = nullptr;
}

RigReading HamlibRig::read() {
    RigReading reading;
    if (!m_rig) {
        reading.error = kNotOpen;
        return reading;
    }
    freq_t frequency = 0;
    if (const int code = rig_get_freq(m_rig, RIG_VFO_CURR, &frequency); code != RIG_OK) {
        reading.error = failure(code).error;
        return reading;
    }
    rmode_t mode = RIG_MODE_NONE;
    pbwidth_t width = 0;
    if (const int code = rig_get_mode(m_rig, RIG_VFO_CURR, &mode, &width); code != RIG_OK) {
        reading.error = failure(code).error;
        return reading;
    }
    const std::optional<qint64> hz = RigMapping::frequencyFromRig(frequency);
    if (!hz) {
        reading.error = RigMapping::impossibleFrequencyText(frequency);
        return reading;
    }
    reading.frequencyHz = *hz;
    reading.mode = QString::fromLatin1(rig_strrmode(mode));
    return reading;
}

RigReply HamlibRig::setFrequency(qint64 hz) {
    if (!m_rig)
        return {kNotOpen};
    return reply(rig_set_freq(m_rig, RIG_VFO_CURR, freq_t(hz)));
}

RigReply HamlibRig::setMode(const QString& mode) {
    if (!m_rig)
        return {kNotOpen};
    const rmode_t parsed = rig_parse_mode(mode.toLatin1().constData());
    if (parsed == RIG_MODE_NONE)
        return {QStringLiteral("hamlib nie zna emisji ") + mode};
    return reply(rig_set_mode(m_rig, RIG_VFO_CURR, parsed, RIG_PASSBAND_NORMAL));
}

RigReply HamlibRig::setPtt(bool on) {
    if (!m_rig)
        return {kNotOpen};
    return reply(rig_set_ptt(m_rig, RIG_VFO_CURR, on ? RIG_PTT_ON : RIG_PTT_OFF));
}

RigReply HamlibRig::sendMorse(const QString& text, int wpm) {
    if (!m_rig)
        return {kNotOpen};
    if (wpm != m_keyerWpm) {
        value_t speed;
        speed.i = wpm;
        // A radio without a speed command keys at its own speed; the text still goes.
        if (rig_set_level(m_rig, RIG_VFO_CURR, RIG_LEVEL_KEYSPD, speed) == RIG_OK)
            m_keyerWpm = wpm;
    }
    return reply(rig_send_morse(m_rig, RIG_VFO_CURR, text.toLatin1().constData()));
}

RigReply HamlibRig::stopMorse() {
    if (!m_rig)
        return {kNotOpen};
    return reply(rig_stop_morse(m_rig, RIG_VFO_CURR));
}

QString HamlibRig::errorText(int code) {
    // hamlib's calls return the codes negated.
    switch (std::abs(code)) {
    case RIG_EINVAL:
        return QStringLiteral("nieprawidłowy parametr");
    case RIG_ECONF:
        return QStringLiteral("błędna konfiguracja (port, prędkość)");
    case RIG_ENOMEM:
        return QStringLiteral("brak pamięci");
    case RIG_ENIMPL:
        return QStringLiteral("funkcja niezaimplementowana w hamlib");
    case RIG_ETIMEOUT:
        return QStringLiteral("radio nie odpowiada");
    case RIG_EIO:
        return QStringLiteral("błąd wejścia/wyjścia");
    case RIG_EINTERNAL:
        return QStringLiteral("wewnętrzny błąd hamlib");
    case RIG_EPROTO:
        return QStringLiteral("błąd protokołu");
    case RIG_ERJCTED:
        return QStringLiteral("radio odrzuciło polecenie");
    case RIG_ETRUNC:
        return QStringLiteral("wartość obcięta przez radio");
    case RIG_ENAVAIL:
        return QStringLiteral("funkcja niedostępna w tym radiu");
    case RIG_ENTARGET:
        return QStringLiteral("VFO niedostępne");
    case RIG_BUSERROR:
        return QStringLiteral("błąd magistrali");
    case RIG_BUSBUSY:
        return QStringLiteral("magistrala zajęta");
    case RIG_EVFO:
        return QStringLiteral("nieprawidłowe VFO");
    case RIG_EDOM:
        return QStringLiteral("wartość poza zakresem");
    case RIG_EPOWER:
        return QStringLiteral("radio jest wyłączone");
    default:
        break;
    }
    const QString text = QString::fromLocal8Bit(rigerror2(code)).trimmed();
    return text.isEmpty() ? QStringLiteral("błąd hamlib %1").arg(code)
                          : QStringLiteral("%1 (błąd hamlib %2)").arg(text).arg(code);
}

QList<RigModel> HamlibRig::models() {
    prepareHamlib();
    QList<RigModel> list;
    rig_list_foreach(
        [](const rig_caps* caps, void* data) {
            static_cast<QList<RigModel>*>(data)->append(
                {int(caps->rig_model), QString::fromLatin1(caps->mfg_name), QString::fromLatin1(caps->model_name)});
            return 1;
        },
        &list);
    std::sort(list.begin(), list.end(), [](const RigModel& a, const RigModel& b) {
        const int maker = a.manufacturer.compare(b.manufacturer, Qt::CaseInsensitive);
        if (maker != 0)
            return maker < 0;
        const int name = a.name.compare(b.name, Qt::CaseInsensitive);
        return name != 0 ? name < 0 : a.number < b.number;
    });
    return list;
}
