// std::locale as a placeholder of the guest ABI's shape: one pointer to a
// name. There is one locale, "C"; copying a locale copies the pointer.
#ifndef TORVEL_GUEST_LOCALE_H
#define TORVEL_GUEST_LOCALE_H

#include "torvel_export.h"

namespace std {

class TORVEL_EXPORT locale {
public:
  locale() throw();
  locale(const locale& other) throw();
  ~locale() throw();
  const locale& operator=(const locale& other) throw();

  // The one locale every stream starts with, built on first use.
  static const locale& classic();

  const char* locale_name;
};

static_assert(sizeof(locale) == 4, "locale");
static_assert(__builtin_offsetof(locale, locale_name) == 0, "locale::locale_name");

}

#endif
