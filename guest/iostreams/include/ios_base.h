// std::ios_base of the guest ABI (112 bytes): formatting settings, state and
// exception mask, event callbacks, the extensible word array and the locale.
// Game code reads and writes these fields at their offsets through its own
// inlined accessors; the fields therefore keep this order and width.
#ifndef TORVEL_IOS_BASE_H
#define TORVEL_IOS_BASE_H

#include "guest_locale.h"
#include "ios_types.h"
#include "torvel_export.h"

namespace std {

class TORVEL_EXPORT ios_base {
public:
  typedef _Ios_Fmtflags fmtflags;
  typedef _Ios_Iostate iostate;
  typedef _Ios_Openmode openmode;
  typedef _Ios_Seekdir seekdir;

  static const fmtflags boolalpha = _S_boolalpha;
  static const fmtflags dec = _S_dec;
  static const fmtflags fixed = _S_fixed;
  static const fmtflags hex = _S_hex;
  static const fmtflags internal = _S_internal;
  static const fmtflags left = _S_left;
  static const fmtflags oct = _S_oct;
  static const fmtflags right = _S_right;
  static const fmtflags scientific = _S_scientific;
  static const fmtflags showbase = _S_showbase;
  static const fmtflags showpoint = _S_showpoint;
  static const fmtflags showpos = _S_showpos;
  static const fmtflags skipws = _S_skipws;
  static const fmtflags unitbuf = _S_unitbuf;
  static const fmtflags uppercase = _S_uppercase;
  static const fmtflags adjustfield = _S_adjustfield;
  static const fmtflags basefield = _S_basefield;
  static const fmtflags floatfield = _S_floatfield;

  static const iostate goodbit = _S_goodbit;
  static const iostate badbit = _S_badbit;
  static const iostate eofbit = _S_eofbit;
  static const iostate failbit = _S_failbit;

  static const openmode app = _S_app;
  static const openmode ate = _S_ate;
  static const openmode binary = _S_bin;
  static const openmode in = _S_in;
  static const openmode out = _S_out;
  static const openmode trunc = _S_trunc;

  static const seekdir beg = _S_beg;
  static const seekdir cur = _S_cur;
  static const seekdir end = _S_end;

  enum event { erase_event, imbue_event, copyfmt_event };
  typedef void (*event_callback)(event, ios_base&, int);

  // One extensible word slot: both words zero when the slot comes to be.
  struct _Words {
    void* _M_pword;
    long _M_iword;
  };

  // Start-up and shut-down of the standard streams (one per guest
  // compilation unit that includes the stream headers, plus the library's).
  class TORVEL_EXPORT Init {
  public:
    Init();
    ~Init();
    static int _S_refcount;
    static bool _S_synced_with_stdio;
  };

  virtual ~ios_base();

  void _M_init();
  locale imbue(const locale& loc);
  void register_callback(event_callback fn, int index);
  void _M_call_callbacks(event e) throw();
  void _M_dispose_callbacks();
  _Words& _M_grow_words(int index, bool iword);
  static int xalloc() throw();
  static bool sync_with_stdio(bool sync = true);

  // The accessors game code has inline, for code written against these
  // declarations (they are never exported).
  fmtflags flags() const { return format_flags; }
  fmtflags flags(fmtflags f) {
    fmtflags old = format_flags;
    format_flags = f;
    return old;
  }
  fmtflags setf(fmtflags f) { return flags(fmtflags(format_flags | f)); }
  fmtflags setf(fmtflags f, fmtflags mask) {
    return flags(fmtflags((format_flags & ~mask) | (f & mask)));
  }
  void unsetf(fmtflags mask) { format_flags = fmtflags(format_flags & ~mask); }
  streamsize width() const { return field_width; }
  streamsize width(streamsize w) {
    streamsize old = field_width;
    field_width = w;
    return old;
  }
  streamsize precision() const { return float_precision; }
  streamsize precision(streamsize p) {
    streamsize old = float_precision;
    float_precision = p;
    return old;
  }
  long& iword(int index) {
    _Words& w = (index >= 0 && index < word_count) ? words[index] : _M_grow_words(index, true);
    return w._M_iword;
  }
  void*& pword(int index) {
    _Words& w = (index >= 0 && index < word_count) ? words[index] : _M_grow_words(index, false);
    return w._M_pword;
  }

  ios_base();

  // A callback node: 16 bytes from malloc.
  struct callback_node {
    callback_node* next;
    event_callback function;
    int callback_index;
    int reserved;
  };

  streamsize float_precision;
  streamsize field_width;
  fmtflags format_flags;
  iostate exception_mask;
  iostate stream_state;
  callback_node* callback_head;
  _Words fallback_word;
  _Words local_words[8];
  int word_count;
  _Words* words;
  locale stream_locale;

private:
  ios_base(const ios_base&);
  ios_base& operator=(const ios_base&);
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(ios_base) == 112, "ios_base");
static_assert(__builtin_offsetof(ios_base, float_precision) == 4, "ios_base::float_precision");
static_assert(__builtin_offsetof(ios_base, field_width) == 8, "ios_base::field_width");
static_assert(__builtin_offsetof(ios_base, format_flags) == 12, "ios_base::format_flags");
static_assert(__builtin_offsetof(ios_base, exception_mask) == 16, "ios_base::exception_mask");
static_assert(__builtin_offsetof(ios_base, stream_state) == 20, "ios_base::stream_state");
static_assert(__builtin_offsetof(ios_base, callback_head) == 24, "ios_base::callback_head");
static_assert(__builtin_offsetof(ios_base, fallback_word) == 28, "ios_base::fallback_word");
static_assert(__builtin_offsetof(ios_base, local_words) == 36, "ios_base::local_words");
static_assert(__builtin_offsetof(ios_base, word_count) == 100, "ios_base::word_count");
static_assert(__builtin_offsetof(ios_base, words) == 104, "ios_base::words");
static_assert(__builtin_offsetof(ios_base, stream_locale) == 108, "ios_base::stream_locale");
#pragma GCC diagnostic pop
static_assert(sizeof(ios_base::_Words) == 8, "ios_base::_Words");
static_assert(sizeof(ios_base::callback_node) == 16, "ios_base::callback_node");
static_assert(sizeof(ios_base::Init) == 1, "ios_base::Init");

}

#endif
