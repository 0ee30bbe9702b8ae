#ifdef ZUVO_CORE_H_INCLUDED
 #error "Incorrect use of a module cpp file"
#endif

#include "zuvo_core.h"

#include "text/zuvo_strcat.cpp"
#include "text/zuvo_UntrustedXml.cpp"
#include "midi/zuvo_MidiWire.cpp"
#include "network/zuvo_CurlLibrary.cpp"
#include "network/zuvo_HttpReader.cpp"
#include "network/zuvo_Network.cpp"
#include "products/zuvo_Product.cpp"
#include "products/zuvo_FirmwareCatalogue.cpp"
