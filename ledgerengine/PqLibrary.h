/* The few functions of PostgreSQL's client library the server store calls,
 * found at run time: a program that never names a server never loads the
 * library (nor its TLS, Kerberos and LDAP libraries). Plain C, so nothing
 * of this program's C++ runtime meets the library's. */
#ifndef PV14_LEDGERENGINE_PQLIBRARY_H
#define PV14_LEDGERENGINE_PQLIBRARY_H

#include <stddef.h>

#include <libpq-fe.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct Pv14Pq {
  PGconn* (*connectdbParams)(const char* const* keywords, const char* const* values,
                             int expandDbname);
  ConnStatusType (*status)(const PGconn* conn);
  char* (*errorMessage)(const PGconn* conn);
  void (*finish)(PGconn* conn);
  char* (*db)(const PGconn* conn);
  char* (*user)(const PGconn* conn);
  char* (*host)(const PGconn* conn);
  char* (*port)(const PGconn* conn);
  PGresult* (*exec)(PGconn* conn, const char* query);
  PGresult* (*execParams)(PGconn* conn, const char* command, int nParams, const Oid* paramTypes,
                          const char* const* paramValues, const int* paramLengths,
                          const int* paramFormats, int resultFormat);
  ExecStatusType (*resultStatus)(const PGresult* res);
  char* (*resultErrorField)(const PGresult* res, int fieldcode);
  char* (*resultErrorMessage)(const PGresult* res);
  void (*clear)(PGresult* res);
  int (*ntuples)(const PGresult* res);
  int (*nfields)(const PGresult* res);
  char* (*getvalue)(const PGresult* res, int row, int column);
  int (*getlength)(const PGresult* res, int row, int column);
  int (*getisnull)(const PGresult* res, int row, int column);
  int (*putCopyData)(PGconn* conn, const char* buffer, int nbytes);
  int (*putCopyEnd)(PGconn* conn, const char* errormsg);
  PGresult* (*getResult)(PGconn* conn);
  int (*enterPipelineMode)(PGconn* conn);
  int (*exitPipelineMode)(PGconn* conn);
  int (*pipelineSync)(PGconn* conn);
  int (*sendQueryParams)(PGconn* conn, const char* command, int nParams, const Oid* paramTypes,
                         const char* const* paramValues, const int* paramLengths,
                         const int* paramFormats, int resultFormat);
  PQconninfoOption* (*conninfoParse)(const char* conninfo, char** errmsg);
  void (*conninfoFree)(PQconninfoOption* connOptions);
  void (*freemem)(void* ptr);
} Pv14Pq;

/* The library's table, loaded on the first call. Null when it cannot be
 * loaded; then why (at most whySize bytes, terminated) says so in one line
 * naming the package to install. */
const Pv14Pq* pv14_pq_load(char* why, size_t whySize);

#ifdef __cplusplus
}
#endif

#endif
