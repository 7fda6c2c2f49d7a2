%MORBANE Inelastic response spectra of oscillators with kinematic and isotropic hardening.
%   SPECTRA = MORBANE(AG,DT,M,ZETA,T,KIN,ISO,METHOD,PARA) analyses, for every natural period
%   T(i) and viscous damping ratio ZETA(j), a single-degree-of-freedom oscillator of mass M whose
%   restoring force follows an elastic-plastic law with linear kinematic and isotropic hardening,
%   under the ground acceleration AG, and returns the peak responses and strength measures.
%   The yield force of each oscillator is set by PARA as METHOD names it.
%
%   SPECTRA = MORBANE(AG,DT,M,ZETA,TSTART,TEND,NT,KIN,ISO,METHOD,PARA) uses NT periods
%   from TSTART to TEND in equal steps (a running sum, so the last may differ from TEND in the
%   last bits).
%
%   Inputs (any consistent units; below, seconds and metres):
%     AG      ground acceleration record, a real vector (m/s^2), sampled every DT
%     DT      time step of the record (s)
%     M       mass (kg)
%     ZETA    viscous damping ratios, a real vector (e.g. 0.05 for 5 %)
%     T       natural periods, a real vector (s), computed from the initial stiffness
%     TSTART, TEND   first and last period (s);  NT   number of periods (truncated, at least 1)
%     KIN     kinematic hardening modulus as a fraction of the initial stiffness
%     ISO     isotropic hardening modulus as a fraction of the initial stiffness
%     METHOD  what PARA is (exact, case-sensitive text):
%               'yieldStrength' or 'fy'              yield force (N)
%               'yieldDisplacement' or 'uy'          yield displacement (m)
%               'strengthReductionFactor' or 'R'     peak elastic force over yield force
%               'ductilityFactor' or 'mu'            target displacement ductility; the yield
%                                                    force is found by iteration
%     PARA    the value of the quantity METHOD names
%
%   Output fields (matrices are numel(T)-by-numel(ZETA): row i is T(i), column j is ZETA(j))
%     pga          peak absolute ground acceleration (m/s^2)
%     mass         copy of M
%     zeta         copy of ZETA
%     T            the periods (as given, or generated as a column) (s)
%     f            natural frequencies 1./T, a column (Hz)
%     dsp          peak relative displacement (m)
%     vel          peak relative velocity (m/s)
%     acc          peak relative acceleration (m/s^2)
%     totAcc       peak absolute acceleration (m/s^2)
%     psdVel       pseudo-velocity, omega*dsp (m/s)
%     psdAcc       pseudo-acceleration, omega^2*dsp (m/s^2)
%     resDsp       residual displacement, at the end of the free-vibration tail (m)
%     iFrc         peak inertial force, M*totAcc (N)
%     dFrc         damping force, 2*zeta*sqrt(k*M)*vel with the initial stiffness k (N)
%     rFrc         peak restoring force (N)
%     yieldDsp     yield displacement fy/k (m)
%     psdYieldVel  pseudo-velocity at yield, omega*yieldDsp (m/s)
%     psdYieldAcc  pseudo-acceleration at yield, omega^2*yieldDsp = fy/M (m/s^2)
%     yieldFrc     yield force fy (N)
%     RFact        strength reduction factor, peak elastic force over fy
%     muFact       displacement ductility, dsp over yieldDsp
%     gammaFact    peak inelastic over peak elastic displacement
%
%   Each analysis runs over the record plus a free-vibration tail long enough for the motion to
%   decay to 1 % (at most ten record lengths). An oscillator whose inelastic analysis does not
%   converge keeps zeros in all its entries, with a warning on the console. A ductility search
%   that does not settle within 25 trials fails the whole call.
%
%   Example:
%     dt = 0.01; t = (0:dt:20)';
%     ag = 3*sin(2*pi*t).*exp(-0.2*t);
%     s = Morbane(ag, dt, 1, 0.05, 0.1, 3, 30, 0.02, 0, 'R', 4);
%     semilogx(s.T, s.muFact); xlabel('T (s)'); ylabel('ductility demand');
%
%   See also QUORVEL, TILLOCK, PELLORY.

error('Morbane: the MEX file is not built; run build_mex in the matlab folder');
