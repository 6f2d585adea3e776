/*-----------------------Program parts----------------------------*/
/*-------------------------- inner type declaration file:dprogInner.hpp----------------------------*/
#include "dprogProto.hpp"

typedef struct
{
Channel<int  > ** _d_out;
int timer_interval;
bool end;

}
feeder_dpt1;
void feeder_call(void * params) ;
