/*-----------------------Program demo----------------------------*/
/*-------------------------- prototype declaration file:@DIR@/demoProto.hpp----------------------------*/
#include "quv.hpp"

void _proc_f_0 ( void *father );
