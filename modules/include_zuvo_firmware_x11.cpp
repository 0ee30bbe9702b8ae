#include <zuvo_firmware/zuvo_firmware_x11.cpp>
