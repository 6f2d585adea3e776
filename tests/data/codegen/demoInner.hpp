/*-----------------------Program demo----------------------------*/
/*-------------------------- inner type declaration file:@DIR@/demoInner.hpp----------------------------*/
#include "@DIR@/demoProto.hpp"

typedef int inner;
