#include "keyer/textkeyers.h"

#include "keyer/cwdaemonkeyer.h"
#include "keyer/winkeyerkeyer.h"

std::unique_ptr<TextKeyer> makeTextKeyer(const KeyerConfig& config, SerialStream* stream, Datagrams* datagrams) {
    if (config.kind == KeyerKind::Winkeyer && stream)
        return std::make_unique<WinkeyerKeyer>(stream, config.winkeyerPort);
    if (config.kind == KeyerKind::Cwdaemon && datagrams)
        return std::make_unique<CwdaemonKeyer>(datagrams, config.cwdaemonAddress);
    return nullptr;
}
