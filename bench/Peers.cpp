// The list of peers.
#include "Peers.h"

namespace bench {

const std::vector<XPeer>& Peers() {
  static const std::vector<XPeer> s_vecPeers{GettextPeer(), QtPeer(), BoostPeer(), WxPeer()};
  return s_vecPeers;
}

}  // namespace bench
