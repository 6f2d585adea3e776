/*-----------------------Program parts----------------------------*/
/*-------------------------- inner type declaration file:dprogInner.hpp----------------------------*/
#include "dprogProto.hpp"

void feeder_call(void * params) ;
