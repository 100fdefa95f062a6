#pragma once
// Pictures of any size for the picture tests, made without an encoder.
#include <string>

// A valid PNG of one grey tone (8-bit greyscale, stored without compression),
// as a server might publish a picture of any size.
std::string greyPng(int width, int height);
