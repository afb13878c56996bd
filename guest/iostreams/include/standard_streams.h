// The four standard streams, built by the library's initialiser over the
// host's standard input, output and error.
#ifndef TORVEL_STANDARD_STREAMS_H
#define TORVEL_STANDARD_STREAMS_H

#include "istream.h"

namespace std {

extern TORVEL_EXPORT istream cin;
extern TORVEL_EXPORT ostream cout;
extern TORVEL_EXPORT ostream cerr;
extern TORVEL_EXPORT ostream clog;

}

#endif
