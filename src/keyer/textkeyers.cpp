#include "keyer/textkeyers.h"

#include "keyer/winkeyerkeyer.h"

std::unique_ptr<TextKeyer> makeTextKeyer(const KeyerConfig& config, SerialStream* stream, Datagrams* datagrams) {
    Q_UNUSED(datagrams);
    if (config.kind == KeyerKind::Winkeyer && stream)
        return std::make_unique<WinkeyerKeyer>(stream, config.winkeyerPort);
    return nullptr;
}
