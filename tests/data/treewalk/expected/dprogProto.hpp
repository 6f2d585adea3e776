/*-----------------------Program parts----------------------------*/
/*-------------------------- prototype declaration file:dprogProto.hpp----------------------------*/
#include "quv.hpp"

void _proc_reset_0 ( void *father,int  &_n );
typedef struct 
{
int (* _p__n);
void *father;
}
reset_local_type;
void _pros_feeder_0 (Channel<int  > *_out);
;
typedef struct 
{

}
feeder_local_type;
