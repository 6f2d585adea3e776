/*-----------------------Program shop----------------------------*/
/*-------------------------- inner type declaration file:progInner.hpp----------------------------*/
#include "progProto.hpp"

void worker_call(void * params) ;
void idle_call(void * params) ;
