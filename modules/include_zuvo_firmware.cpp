#include <zuvo_firmware/zuvo_firmware.cpp>
