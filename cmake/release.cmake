# HOURWRIGHT_RELEASE_DATE (YYYY-MM-DD): the date of this version's entry in
# packaging/changelog, the release history in Debian's changelog format. Its
# newest entry must be the version project() gives, so that the history, the
# package and the AppStream data never disagree.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog release_lines
  REGEX "^(hourwright \\(| -- )" LIMIT_COUNT 2)
list(GET release_lines 0 release_head)
list(GET release_lines 1 release_trailer)
if(NOT release_head MATCHES "^hourwright \\(([^)]*)\\)" OR NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog: the newest entry is not version ${PROJECT_VERSION}: "
                      "add an entry for it")
endif()
if(NOT release_trailer MATCHES ">  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog: no date in '${release_trailer}'")
endif()
set(release_day ${CMAKE_MATCH_1})
set(release_year ${CMAKE_MATCH_3})
set(release_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND release_months ${CMAKE_MATCH_2} release_month)
if(release_month EQUAL -1)
  message(FATAL_ERROR "packaging/changelog: no month '${CMAKE_MATCH_2}' in '${release_trailer}'")
endif()
math(EXPR release_month "${release_month} + 1")
if(release_month LESS 10)
  set(release_month 0${release_month})
endif()
set(HOURWRIGHT_RELEASE_DATE ${release_year}-${release_month}-${release_day})
