// std::ios_base: construction and teardown, callbacks, the extensible word
// array, and the process-wide counters. Regular (non-template) exports.
#include "ios_base.h"

#include "c_library.h"

namespace std {

// The counter behind xalloc(); indices 0 to 3 were the legacy library's own.
static int top = 4;

ios_base::ios_base() : callback_head(0), word_count(8), words(local_words) {
  fallback_word._M_pword = 0;
  fallback_word._M_iword = 0;
  for (int i = 0; i < 8; ++i) {
    local_words[i]._M_pword = 0;
    local_words[i]._M_iword = 0;
  }
}

// Shared by every stream destructor that destroys the virtual base: the
// erase callbacks run, then the callback nodes and a grown word array go.
ios_base::~ios_base() {
  _M_call_callbacks(erase_event);
  _M_dispose_callbacks();
  if (words != local_words) free(words);
  words = 0;
}

void ios_base::_M_init() {
  float_precision = 6;
  field_width = 0;
  format_flags = fmtflags(_S_skipws | _S_dec);
  stream_locale = locale();
}

locale ios_base::imbue(const locale& loc) {
  locale previous(stream_locale);
  stream_locale = loc;
  _M_call_callbacks(imbue_event);
  return previous;
}

void ios_base::register_callback(event_callback fn, int index) {
  callback_node* node = static_cast<callback_node*>(malloc(sizeof(callback_node)));
  // Without memory the callback is not registered rather than written
  // through a null pointer.
  if (node == 0) return;
  node->next = callback_head;
  node->function = fn;
  node->callback_index = index;
  node->reserved = 0;
  callback_head = node;
}

void ios_base::_M_call_callbacks(event e) throw() {
  for (callback_node* node = callback_head; node != 0; node = node->next)
    node->function(e, *this, node->callback_index);
}

void ios_base::_M_dispose_callbacks() {
  while (callback_head != 0) {
    callback_node* next = callback_head->next;
    free(callback_head);
    callback_head = next;
  }
}

int ios_base::xalloc() throw() { return top++; }

bool ios_base::sync_with_stdio(bool sync) {
  bool previous = Init::_S_synced_with_stdio;
  Init::_S_synced_with_stdio = sync;
  return previous;
}

ios_base::_Words& ios_base::_M_grow_words(int index, bool) {
  if (index >= 0 && index < word_count) return words[index];
  _Words* grown = 0;
  int count = 0;
  if (index >= 0) {
    count = 2 * word_count > index ? 2 * word_count : index + 1;
    // count * 8 must stay within the address space; a larger index is
    // answered like a failed allocation.
    if (count <= 0x0fffffff) grown = static_cast<_Words*>(calloc(count, sizeof(_Words)));
  }
  if (grown == 0) {
    // A negative index, or no memory: the fallback slot, zeroed, and
    // badbit without any exception-mask check.
    stream_state = iostate(stream_state | _S_badbit);
    fallback_word._M_pword = 0;
    fallback_word._M_iword = 0;
    return fallback_word;
  }
  memcpy(grown, words, word_count * sizeof(_Words));
  if (words != local_words) free(words);
  words = grown;
  word_count = count;
  return words[index];
}

}
